#include "core/base/WallClock.h"

QDateTime WallClock::reading(const QDateTime& value) {
    return QDateTime(value.date(), value.time(), Qt::UTC);
}

QDateTime WallClock::local(QDate date, QTime time) {
    const QDateTime value(date, time);
    if (value.isValid() || !date.isValid() || !time.isValid())
        return value;
    // The clock skips this time. The day before at the same time lies before the change.
    const int offsetBefore = QDateTime(date.addDays(-1), time).offsetFromUtc();
    return QDateTime(date, time, Qt::OffsetFromUTC, offsetBefore);
}

bool WallClock::reached(const QDateTime& now, const QDateTime& alarm) {
    return reading(now) >= reading(alarm);
}
