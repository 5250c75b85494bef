#include "core/mail/SystemUtcOffset.h"

#include <QTimeZone>

std::optional<int> SystemUtcOffset::utcOffsetMinutes(const QDateTime& local) const {
    const QTimeZone zone = QTimeZone::systemTimeZone();
    if (!zone.isValid())
        return std::nullopt;
    const QDateTime when(local.date(), local.time(), zone);
    if (!when.isValid())
        return std::nullopt;
    return zone.offsetFromUtc(when) / 60;
}
