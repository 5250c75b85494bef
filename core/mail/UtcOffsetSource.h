#pragma once

#include <QDateTime>
#include <optional>

// Tells how far local time is from UTC, for the zone written into a mail's Date line.
class UtcOffsetSource {
public:
    virtual ~UtcOffsetSource() = default;

    // Local time minus UTC in minutes at the given local date and time (positive east of
    // Greenwich, daylight saving included); nothing when the zone cannot be read.
    virtual std::optional<int> utcOffsetMinutes(const QDateTime& local) const = 0;
};
