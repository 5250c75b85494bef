#include "platform/LocaleInfo.h"

#include "core/base/WallClock.h"

QString LocaleInfo::formatDate(QDate date) const {
    return locale().toString(date, shortDateFormat());
}

QString LocaleInfo::formatTime(QTime time) const {
    return locale().toString(time, longTimeFormat());
}

QString LocaleInfo::formatDateTime(const QDateTime& value) const {
    const QString date = formatDate(value.date());
    if (value.time() == QTime(0, 0))
        return date;
    return date + QLatin1Char(' ') + formatTime(value.time());
}

std::optional<QDateTime> LocaleInfo::parseDateTime(const QString& text) const {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    const QLocale loc = locale();
    QDateTime value =
        loc.toDateTime(trimmed, shortDateFormat() + QLatin1Char(' ') + longTimeFormat());
    if (value.isValid())
        return value;
    // A time the clock skips at the start of summer time is still the alarm's time.
    if (value.date().isValid() && value.time().isValid())
        return WallClock::local(value.date(), value.time());
    const QDate date = loc.toDate(trimmed, shortDateFormat());
    if (date.isValid())
        return QDateTime(date, QTime(0, 0));
    return std::nullopt;
}
