#pragma once

#include "core/mail/UtcOffsetSource.h"

// The offset of the system's own time zone.
class SystemUtcOffset final : public UtcOffsetSource {
public:
    std::optional<int> utcOffsetMinutes(const QDateTime& local) const override;
};
