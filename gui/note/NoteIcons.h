#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>

// The program's pictures, drawn in code: the two alarm clock faces of a note's caption
// bar, the program icon and the frames of the tray icon's alarm animation.
class NoteIcons {
public:
    // 14 x 13 logical pixels, transparent, sharp on scaled screens: a red clock face
    // (alarm set) and a blue one (alarm ringing).
    static QPixmap alarmSet();
    static QPixmap alarmRinging();
    // A yellow sticky note with a red pin, in the usual icon sizes. Drawn once.
    static QIcon programIcon();
    // The same in the small sizes a window list shows, for the note windows: every
    // window's icon travels to the window system, once per note.
    static QIcon noteWindowIcon();
    // The program icon with a red alarm clock on it and the plain program icon; the tray
    // shows them by turns while an alarm rings. Drawn once.
    static QList<QIcon> trayAlarmFrames();

private:
    static QPixmap clockFace(const QColor& face);
    static QPixmap programPixmap(int size, bool withClock);
};
