#pragma once

#include <QDateTime>
#include <array>
#include <optional>

// The next date of a recurring reminder: AlarmDateTime moved on once by RememberNo
// units of RememberUnit (0 minutes, 1 hours, 2 days, 3 weeks of 7 days, 4 "months" of
// 30 days), then on by whole days, keeping that time of day, to the first day whose
// weekday flag is set (weekdays[0] Sunday ... weekdays[6] Saturday) and which is not earlier than
// now (a date equal to now is accepted). Date-times are wall-clock values (WallClock):
// every step and comparison is made on the date and time of day the clock shows, so a
// reminder keeps its time of day across summer-time changes and an hourly one never
// comes back to a time of day it has just had. The result is local time (at a time the
// clock skips, see WallClock::local). Nothing is modified; the caller stores the result.
//
// No value means the reminder has no next date and the caller leaves its alarm
// disarmed. That is the answer when:
// - no weekday flag is set (no day could ever be accepted);
// - RememberUnit is outside 0..4 (only a hand-edited file or a peer can deliver that;
//   it names no interval, and moving the alarm to some arbitrary origin date would
//   fire it at a time the user never chose);
// - AlarmDateTime or now is not a valid date-time, or the step leaves the range of
//   dates.
//
// Minute and hour steps are plain durations, so 90 minutes or 36 hours work like any
// other count. A count below 1 (never offered by the dialog) is applied as it stands:
// the search by days still ends on a date that is not in the past. A reminder last
// fired long ago costs no more than one that fired yesterday: the search jumps to the
// day before today and steps single days from there.
std::optional<QDateTime> NextReminderDate(const QDateTime& AlarmDateTime, int RememberNo,
                                          int RememberUnit, const std::array<bool, 7>& weekdays,
                                          const QDateTime& now);
