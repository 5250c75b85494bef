#include "core/alarm/TodaysTasks.h"

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

QList<Entry> due(const QList<Entry>& entries, QDate today) {
    QList<Entry> result;
    for (const Entry& entry : entries) {
        if (entry.alarm && entry.number >= 0 && entry.number <= kLargestNumber &&
            entry.AlarmDateTime.date() == today)
            result.append(entry);
    }
    std::stable_sort(result.begin(), result.end(),
                     [](const Entry& a, const Entry& b) { return a.number < b.number; });
    return result;
}

} // namespace TodaysTasks
