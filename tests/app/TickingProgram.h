#pragma once

#include "tests/support/ProgramHarness.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>

class DesktopNotifier;

// A main window on test doubles whose notes carry alarms, for the tests of the program's
// one-second tick.
namespace TickingProgram {

// Wednesday 25 December 2002, 14:30:00.
inline const QDateTime Start(QDate(2002, 12, 25), QTime(14, 30));

struct AlarmNote {
    QByteArray caption;
    QByteArray when;  // "dd/MM/yyyy HH:mm:ss"; empty: no alarm
    QByteArray extra; // further key lines
};

// A main window on test doubles that loads the given notes and settings.
struct Program : ProgramHarness {
    Program(const QList<AlarmNote>& notes,
            const QByteArray& general = "AutoSave=1\r\nTimeAutoSave=10\r\n",
            DesktopNotifier* desktop = nullptr)
        : ProgramHarness(QStringLiteral("pt_BR"), QStringLiteral("/nonexistent/program"),
                         QStringLiteral("ana")) {
        notifier = desktop;
        clock.set(Start);
        QByteArray text = "[General]\r\nNumStickies=" + QByteArray::number(notes.size()) +
                          "\r\nAskDelete=0\r\n" + general;
        for (int i = 0; i < notes.size(); ++i) {
            text += "[Stick" + QByteArray::number(i) + "]\r\ncaption=" + notes[i].caption +
                    "\r\nposx=" + QByteArray::number(10 + 20 * i) +
                    "\r\nposy=10\r\nWidth=170\r\nHeight=120\r\n";
            if (!notes[i].when.isEmpty())
                text += "alarm=1\r\nAlarmDateTime=" + notes[i].when + "\r\n";
            text += notes[i].extra;
        }
        writeNotesFile(text);
        start();
    }
    void deliverPosted() { QCoreApplication::sendPostedEvents(main.get()); }
};

} // namespace TickingProgram
