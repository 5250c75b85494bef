#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class QWidget;
class QWindow;

// Gives back the drawing surface of a top-level window that nobody looks at closely: once
// the window has not been drawn for a while and has no pointer over it,
// its backing store shrinks to nothing (on X11 a shared memory image of the window's
// size, 200 kB for a 250 x 200 note, four times that on a screen scaled to 200 %). The
// window stays on screen as the X server last showed it. When the window system asks
// for a part of it again (an expose) or the program draws on it, the whole window is
// marked for drawing first, so the surface comes back whole.
class IdleWindowSurface : public QObject {
    Q_OBJECT
public:
    // Watches window for as long as it lives.
    static void watch(QWidget& window, int idleMs);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    IdleWindowSurface(QWidget& window, int idleMs);
    void followNativeWindow();
    void restoreBeforeDrawing();
    void release();

    QWidget& m_window;
    QPointer<QWindow> m_handle;
    QTimer m_idle;
    bool m_released = false;
};
