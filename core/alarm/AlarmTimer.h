#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

class EventSounds;
class LocaleInfo;
class NoteCollection;

// The alarm part of the main window's one-second tick: every armed alarm whose time has
// come fires (a recurring one only on its weekdays). Firing disarms the alarm, or arms a
// reminder again for its next date, plays the note's sound (or the system's beep), shows
// the note's ringing icon instead of its alarm icon, and makes the note the one the tray
// icon's click shows. Whoever shows the notes brings the note to the front on
// alarmFired().
class AlarmTimer : public QObject {
    Q_OBJECT
public:
    // One line of today's-tasks window and the number of the note it names.
    struct Task {
        QString line;
        int note = -1;
    };

    AlarmTimer(NoteCollection& notes, EventSounds& sounds, QObject* parent = nullptr);

    // Fires the alarms due at now. True when a reminder was armed again: its next date
    // must reach the file at once.
    bool fireDueAlarms(const QDateTime& now);

    // The lines of today's-tasks window: every armed alarm due on now's date, with the
    // note it names.
    QList<Task> todaysTasks(const QDateTime& now, const LocaleInfo& locale) const;

Q_SIGNALS:
    // An alarm fired: the note comes to the front, the tray icon starts blinking.
    void alarmFired(int noteNumber);

private:
    // Returns whether the note is a reminder armed again.
    bool fireAlarm(int slot, const QDateTime& now);

    NoteCollection& m_notes;
    EventSounds& m_sounds;
};
