#include "platform/desktop/IdleWindowSurface.h"

#include <QApplication>
#include <QBackingStore>
#include <QEvent>
#include <QWidget>
#include <QWindow>

void IdleWindowSurface::watch(QWidget& window, int idleMs) {
    new IdleWindowSurface(window, idleMs);
}

IdleWindowSurface::IdleWindowSurface(QWidget& window, int idleMs)
    : QObject(&window), m_window(window) {
    m_idle.setSingleShot(true);
    m_idle.setInterval(idleMs);
    connect(&m_idle, &QTimer::timeout, this, &IdleWindowSurface::release);
    m_window.installEventFilter(this);
    followNativeWindow();
}

// The toolkit makes a new native window (and window handle) when window flags change;
// the expose events come to the handle.
void IdleWindowSurface::followNativeWindow() {
    QWindow* handle = m_window.windowHandle();
    if (handle == m_handle)
        return;
    if (m_handle)
        m_handle->removeEventFilter(this);
    m_handle = handle;
    if (m_handle)
        m_handle->installEventFilter(this);
}

bool IdleWindowSurface::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_handle) {
        if (event->type() == QEvent::Expose)
            restoreBeforeDrawing();
        return false;
    }
    switch (event->type()) {
    case QEvent::UpdateRequest:
        // Everything the window draws passes through its update request.
        restoreBeforeDrawing();
        break;
    case QEvent::Show:
    case QEvent::WinIdChange:
        followNativeWindow();
        m_idle.start();
        break;
    case QEvent::Enter:
        // A wheel turn or a click may follow, and scrolling moves pixels within the
        // surface: have it back beforehand.
        if (m_released)
            m_window.update();
        break;
    case QEvent::Leave:
    case QEvent::Hide:
    case QEvent::WindowDeactivate:
        m_idle.start();
        break;
    default:
        break;
    }
    return false;
}

void IdleWindowSurface::restoreBeforeDrawing() {
    if (m_released) {
        // The surface is made anew at this drawing; marking the whole window makes it
        // draw every part, not only the one asked for.
        m_released = false;
        m_window.update();
    }
    m_idle.start();
}

void IdleWindowSurface::release() {
    // An active window whose text cursor blinks draws every half second and never gets
    // here; one that stopped blinking gives its surface back like any other.
    if (m_released || m_window.underMouse())
        return;
    QBackingStore* store = m_window.backingStore();
    if (!store || store->size().isEmpty())
        return;
    store->resize(QSize(0, 0));
    m_released = true;
}
