#pragma once

#include "note/NoteHitTest.h"

#include <QPoint>
#include <QRect>
#include <optional>

class QWidget;

// Moves and resizes a frameless note window with the mouse, and keeps a note where the
// program placed it against window managers that misreport a freshly mapped frameless
// window.
//
// A press on the caption asks the window system to move the window; a press on an edge
// or corner resizes it here, since some X11 window managers size a frameless window
// from the wrong origin when asked to resize it. Where the window system cannot move
// the window, it is dragged here as well.
class NoteMover {
public:
    explicit NoteMover(QWidget* window) : m_window(window) {}

    // The program put the window at position; until the user moves it, a different
    // position reported right after mapping is put right (a few times at most, so a
    // window manager that insists on its own placement wins).
    void placedAt(const QPoint& position);
    // Where the program placed the window, while the user has not moved it.
    std::optional<QPoint> placement() const { return m_placedAt; }
    // The window was moved to position (its move event).
    void moved(const QPoint& position);

    // A left press on zone at the global position; false for the client area.
    bool press(NoteHitTest::Zone zone, const QPoint& globalPos);
    // The mouse moved while pressed; false when no drag by hand is running.
    bool drag(const QPoint& globalPos);
    void release();

private:
    QWidget* m_window;
    std::optional<QPoint> m_placedAt;
    int m_corrections = 0;
    NoteHitTest::Zone m_zone = NoteHitTest::Client;
    QPoint m_start;
    QRect m_startGeometry;
};
