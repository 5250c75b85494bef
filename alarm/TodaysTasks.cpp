#include "alarm/TodaysTasks.h"

#include "platform/LocaleInfo.h"

#include <algorithm>

namespace TodaysTasks {

namespace {

constexpr int kNumberDigits = 3;
constexpr int kLargestNumber = 999;
const QString kSeparator = QStringLiteral(" - ");

} // namespace

QString line(const Entry& entry, const LocaleInfo& locale) {
    return QStringLiteral("%1").arg(entry.number, kNumberDigits, 10, QLatin1Char('0')) +
           kSeparator + locale.formatTime(entry.AlarmDateTime.time()) + kSeparator + entry.caption;
}

QStringList lines(const QList<Entry>& entries, QDate today, const LocaleInfo& locale) {
    QList<Entry> due;
    for (const Entry& entry : entries) {
        if (entry.alarm && entry.number >= 0 && entry.number <= kLargestNumber &&
            entry.AlarmDateTime.date() == today)
            due.append(entry);
    }
    std::stable_sort(due.begin(), due.end(),
                     [](const Entry& a, const Entry& b) { return a.number < b.number; });
    QStringList result;
    result.reserve(due.size());
    for (const Entry& entry : due)
        result.append(line(entry, locale));
    return result;
}

int noteNumber(const QString& line) {
    if (line.size() < kNumberDigits)
        return -1;
    int number = 0;
    for (int i = 0; i < kNumberDigits; ++i) {
        const QChar c = line.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        number = number * 10 + (c.unicode() - '0');
    }
    return number;
}

} // namespace TodaysTasks
