#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class LocaleInfo;

// The lines of the today's-tasks list: one per armed alarm that falls on today's date.
namespace TodaysTasks {

// What the list needs to know of one note.
struct Entry {
    int number = -1; // the note's slot
    bool alarm = false;
    QDateTime AlarmDateTime;
    QString caption;
};

// The note number with three digits, " - ", the alarm time in the long time format,
// " - " and the caption: "007 - 14:30:00 - Dentista".
QString line(const Entry& entry, const LocaleInfo& locale);

// The entries whose alarm is armed and whose AlarmDateTime falls on today, in slot
// order. Weekday flags play no part: a reminder is listed when its next date is today.
// Entries with a number the line could not carry in three digits are left out.
QList<Entry> due(const QList<Entry>& entries, QDate today);

} // namespace TodaysTasks
