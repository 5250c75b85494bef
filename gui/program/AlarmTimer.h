#pragma once

#include "gui/alarm/TfrmMostraAlarmes.h"

#include <QDateTime>
#include <QObject>

class LocaleInfo;
class NoteRegistry;

class EventSounds;
class TfPostIt;

// The alarm part of the main window's one-second tick: every armed alarm whose time has
// come fires (a recurring one only on its weekdays). Firing disarms the alarm, or arms a
// reminder again for its next date, plays the note's sound (or the system's beep), brings
// the note to the front with its ringing icon, and makes the note the one the tray icon's
// click shows.
class AlarmTimer : public QObject {
    Q_OBJECT
public:
    AlarmTimer(NoteRegistry& registry, EventSounds& sounds, QObject* parent = nullptr);

    // Fires the alarms due at now. True when a reminder was armed again: its next date
    // must reach the file at once.
    bool fireDueAlarms(const QDateTime& now);

    // The lines of today's-tasks window: every armed alarm due on now's date, with the
    // note it names.
    QList<TfrmMostraAlarmes::Task> todaysTasks(const QDateTime& now,
                                               const LocaleInfo& locale) const;

Q_SIGNALS:
    // An alarm fired; the tray icon starts blinking.
    void alarmFired(int noteNumber);

private:
    // Returns whether the note is a reminder armed again.
    bool fireAlarm(int slot, TfPostIt* window, const QDateTime& now);

    NoteRegistry& m_registry;
    EventSounds& m_sounds;
};
