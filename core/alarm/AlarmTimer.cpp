#include "core/alarm/AlarmTimer.h"

#include "core/alarm/NextReminderDate.h"
#include "core/alarm/TodaysTasks.h"
#include "core/base/WallClock.h"
#include "core/notes/NoteCollection.h"
#include "core/settings/EventSounds.h"

AlarmTimer::AlarmTimer(NoteCollection& notes, EventSounds& sounds, QObject* parent)
    : QObject(parent), m_notes(notes), m_sounds(sounds) {}

bool AlarmTimer::fireDueAlarms(const QDateTime& now) {
    // weekdays[0] is Sunday; Qt counts Monday as 1 and Sunday as 7.
    const int today = now.date().dayOfWeek() % 7;
    bool rearmed = false;
    for (int slot = 0; slot < m_notes.NoteCount(); ++slot) {
        const Note* note = m_notes.note(slot);
        if (!note || !note->record().alarm)
            continue;
        if (note->record().Remember && !note->record().weekdays[today])
            continue;
        if (WallClock::reached(now, note->record().AlarmDateTime))
            rearmed = fireAlarm(slot, now) || rearmed;
    }
    return rearmed;
}

bool AlarmTimer::fireAlarm(int slot, const QDateTime& now) {
    m_notes.setLastAlarmNote(slot);
    Note* note = m_notes.note(slot);
    note->setAlarm(false);
    m_sounds.alarm(note->record().UseSound, note->record().SoundFile);
    Q_EMIT alarmFired(slot);
    // Whoever answered the signal may have deleted the note (a dialog's event loop).
    note = m_notes.note(slot);
    if (!note)
        return false;
    note->setAlarmIconShown(false);
    note->setRinging(true);
    const NoteRecord& record = note->record();
    if (!record.Remember)
        return false;
    const std::optional<QDateTime> next = NextReminderDate(
        record.AlarmDateTime, record.RememberNo, record.RememberUnit, record.weekdays, now);
    // A reminder with no next date (no weekday allowed) stays disarmed.
    if (next) {
        note->edit([&next](NoteRecord& r) {
            r.AlarmDateTime = *next;
            r.alarm = true;
        });
    }
    return true;
}

QList<AlarmTimer::Task> AlarmTimer::todaysTasks(const QDateTime& now,
                                                const LocaleInfo& locale) const {
    QList<TodaysTasks::Entry> entries;
    for (const Note* note : m_notes.notes())
        entries.append({note->number(), note->record().alarm, note->record().AlarmDateTime,
                        note->record().caption});
    QList<Task> tasks;
    for (const TodaysTasks::Entry& entry : TodaysTasks::due(entries, now.date()))
        tasks.append({TodaysTasks::line(entry, locale), entry.number});
    return tasks;
}
