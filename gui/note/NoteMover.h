#pragma once

#include "gui/note/NoteHitTest.h"

#include <QPoint>
#include <QRect>

class QWidget;

// Moves and resizes a frameless note window with the mouse, and keeps a note where it
// was against window managers that misreport a freshly mapped frameless window.
//
// A press on the caption asks the window system to move the window; a press on an edge
// or corner resizes it here, since some X11 window managers size a frameless window
// from the wrong origin when asked to resize it. Where the window system cannot move
// the window, it is dragged here as well.
//
// Some X11 window managers, racing with their own reparenting, have the window system
// report a frameless window at its frame's origin between mapping it and showing it on
// the screen. That one report is false and is put right. Every move reported once the
// window is on the screen is real (the user's Alt+drag, a keyboard move, a move asked
// for by another program) and stands.
class NoteMover {
public:
    explicit NoteMover(QWidget* window) : m_window(window) {}

    // The window is about to be mapped at its current position.
    void mapping();
    // The window is on the screen (its first expose after mapping).
    void exposed();
    // The window was moved to position: by the program itself, or as the window system
    // reports it (spontaneous).
    void moved(const QPoint& position, bool spontaneous);
    // A false report after mapping is awaited.
    bool awaitingMapReport() const { return m_mapping; }

    // A left press on zone at the global position; false for the client area.
    bool press(NoteHitTest::Zone zone, const QPoint& globalPos);
    // The mouse moved while pressed; false when no drag by hand is running.
    bool drag(const QPoint& globalPos);
    void release();

private:
    QWidget* m_window;
    bool m_mapping = false;
    QPoint m_mappedAt;
    NoteHitTest::Zone m_zone = NoteHitTest::Client;
    QPoint m_start;
    QRect m_startGeometry;
};
