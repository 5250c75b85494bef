#include "gui/program/AlarmTimer.h"

#include "core/alarm/NextReminderDate.h"
#include "core/alarm/TodaysTasks.h"
#include "core/base/WallClock.h"
#include "core/settings/EventSounds.h"
#include "gui/note/TfPostIt.h"
#include "gui/program/NoteRegistry.h"
#include "platform/SoundPlayer.h"

AlarmTimer::AlarmTimer(NoteRegistry& registry, EventSounds& sounds, QObject* parent)
    : QObject(parent), m_registry(registry), m_sounds(sounds) {}

bool AlarmTimer::fireDueAlarms(const QDateTime& now) {
    // weekdays[0] is Sunday; Qt counts Monday as 1 and Sunday as 7.
    const int today = now.date().dayOfWeek() % 7;
    bool rearmed = false;
    for (int slot = 0; slot < m_registry.NoteCount(); ++slot) {
        TfPostIt* window = m_registry.note(slot);
        if (!window || !window->alarm())
            continue;
        if (window->Remember() && !window->weekdays()[today])
            continue;
        if (WallClock::reached(now, window->AlarmDateTime()))
            rearmed = fireAlarm(slot, window, now) || rearmed;
    }
    return rearmed;
}

bool AlarmTimer::fireAlarm(int slot, TfPostIt* window, const QDateTime& now) {
    m_registry.setLastAlarmNote(slot);
    Q_EMIT alarmFired(slot);
    window->setAlarm(false);
    m_sounds.alarm(window->UseSound(), window->SoundFile());
    NoteRegistry::showNote(window);
    window->setAlarmIconVisible(false);
    window->setRingingIconVisible(true);
    if (!window->Remember())
        return false;
    const std::optional<QDateTime> next =
        NextReminderDate(window->AlarmDateTime(), window->RememberNo(), window->RememberUnit(),
                         window->weekdays(), now);
    // A reminder with no next date (no weekday allowed) stays disarmed.
    if (next) {
        window->setAlarmDateTime(*next);
        window->setAlarm(true);
    }
    return true;
}

QList<TfrmMostraAlarmes::Task> AlarmTimer::todaysTasks(const QDateTime& now,
                                                       const LocaleInfo& locale) const {
    QList<TodaysTasks::Entry> entries;
    for (const TfPostIt* window : m_registry.notes())
        entries.append({window->Tag, window->alarm(), window->AlarmDateTime(), window->caption()});
    QList<TfrmMostraAlarmes::Task> tasks;
    for (const TodaysTasks::Entry& entry : TodaysTasks::due(entries, now.date()))
        tasks.append({TodaysTasks::line(entry, locale), m_registry.note(entry.number)});
    return tasks;
}
