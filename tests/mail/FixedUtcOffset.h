#pragma once

#include "core/mail/UtcOffsetSource.h"

// A time zone that stays where the test puts it; nothing means "cannot be read".
class FixedUtcOffset final : public UtcOffsetSource {
public:
    explicit FixedUtcOffset(std::optional<int> minutes = -180) : m_minutes(minutes) {}
    std::optional<int> utcOffsetMinutes(const QDateTime&) const override { return m_minutes; }
    void set(std::optional<int> minutes) { m_minutes = minutes; }

private:
    std::optional<int> m_minutes;
};
