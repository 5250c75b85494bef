#include "core/alarm/NextReminderDate.h"

#include "core/base/WallClock.h"

#include <algorithm>

namespace {

enum Unit { Minutes = 0, Hours = 1, Days = 2, Weeks = 3, Months = 4 };

constexpr qint64 kSecondsPerMinute = 60;
constexpr qint64 kSecondsPerHour = 60 * 60;
constexpr qint64 kDaysPerWeek = 7;
constexpr qint64 kDaysPerMonth = 30;

// One step of count units from start; nothing for an unknown unit.
std::optional<QDateTime> stepped(const QDateTime& start, qint64 count, int unit) {
    switch (unit) {
    case Minutes:
        return start.addSecs(count * kSecondsPerMinute);
    case Hours:
        return start.addSecs(count * kSecondsPerHour);
    case Days:
        return start.addDays(count);
    case Weeks:
        return start.addDays(count * kDaysPerWeek);
    case Months:
        return start.addDays(count * kDaysPerMonth);
    default:
        return std::nullopt;
    }
}

// Index into the weekday flags: 0 Sunday ... 6 Saturday.
int weekdayIndex(QDate date) {
    return date.dayOfWeek() % 7;
}

} // namespace

std::optional<QDateTime> NextReminderDate(const QDateTime& AlarmDateTime, int RememberNo,
                                          int RememberUnit, const std::array<bool, 7>& weekdays,
                                          const QDateTime& now) {
    // A time the clock skips is no valid local time but a valid wall-clock time.
    if (!WallClock::reading(AlarmDateTime).isValid() || !WallClock::reading(now).isValid())
        return std::nullopt;
    if (std::none_of(weekdays.begin(), weekdays.end(), [](bool allowed) { return allowed; }))
        return std::nullopt;
    // On the wall clock: UTC date-times holding the local dates and times of day.
    const QDateTime current = WallClock::reading(now);
    const std::optional<QDateTime> first =
        stepped(WallClock::reading(AlarmDateTime), RememberNo, RememberUnit);
    if (!first || !first->isValid())
        return std::nullopt;

    const auto accepted = [&](const QDateTime& candidate) {
        return candidate.isValid() && weekdays[weekdayIndex(candidate.date())] &&
               candidate >= current;
    };
    if (accepted(*first))
        return WallClock::local(*first);

    // Every further candidate is the first one moved on by whole days. A candidate two
    // or more days before today is in the past whatever its time of day, so the search
    // starts on the day before today at the earliest.
    const qint64 daysBehind = first->date().daysTo(current.date());
    const qint64 startDay = std::max<qint64>(1, daysBehind - 1);
    // From there a day not in the past comes within two days, and one whose flag is
    // set within a week after that; the bound only guards against a clock that
    // cannot represent those days.
    constexpr qint64 kSearchDays = 2 + 7 + 7;
    for (qint64 day = startDay; day < startDay + kSearchDays; ++day) {
        const QDateTime candidate = first->addDays(day);
        if (accepted(candidate))
            return WallClock::local(candidate);
    }
    return std::nullopt;
}
