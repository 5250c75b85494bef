#pragma once

#include <QDateTime>

// Alarm date-times are wall-clock values: the date and the time of day a clock on the
// wall shows, whatever summer time does to the instant behind them. A daily reminder at
// 02:30 stays at 02:30 after the clocks change, and on the day the clock skips 02:30 it
// is due from the first minute after the gap.
class WallClock {
public:
    // The date and time of day value shows, as a date-time no summer time moves (UTC
    // serves as a zone without changes); for comparisons and arithmetic on the wall
    // clock.
    static QDateTime reading(const QDateTime& value);
    // The local date-time showing the date and time of reading. A time the local clock
    // skips (the start of summer time) keeps its date and time of day all the same, as
    // a valid date-time at the offset in force before the change.
    static QDateTime local(QDate date, QTime time);
    static QDateTime local(const QDateTime& reading) {
        return local(reading.date(), reading.time());
    }
    // The wall clock at now has reached the wall-clock time of alarm.
    static bool reached(const QDateTime& now, const QDateTime& alarm);
};
