#include "core/mail/MailDate.h"

#include <cstdlib>

namespace {

const char* const DayNames[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
const char* const MonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

QString MailDate::format(const QDateTime& local, std::optional<int> utcOffsetMinutes) {
    const QDate date = local.date();
    const QTime time = local.time();
    return QStringLiteral("%1, %2 %3 %4 %5:%6:%7 %8")
        .arg(QLatin1String(DayNames[date.dayOfWeek() - 1]))
        .arg(date.day())
        .arg(QLatin1String(MonthNames[date.month() - 1]))
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(twoDigits(time.hour()), twoDigits(time.minute()), twoDigits(time.second()),
             zoneText(utcOffsetMinutes));
}

QString MailDate::zoneText(std::optional<int> utcOffsetMinutes) {
    if (!utcOffsetMinutes)
        return QStringLiteral("-0000");
    const int offset = *utcOffsetMinutes;
    const int magnitude = std::abs(offset);
    return QLatin1Char(offset < 0 ? '-' : '+') + twoDigits(magnitude / 60) +
           twoDigits(magnitude % 60);
}
