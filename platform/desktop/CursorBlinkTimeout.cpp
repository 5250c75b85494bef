#include "platform/desktop/CursorBlinkTimeout.h"

#include <QGuiApplication>
#include <QStyleHints>
#include <QTimer>

CursorBlinkTimeout::CursorBlinkTimeout(int timeoutMs, QObject* parent)
    : QObject(parent), m_flashTime(QGuiApplication::styleHints()->cursorFlashTime()) {
    m_idle = new QTimer(this);
    m_idle->setSingleShot(true);
    m_idle->setInterval(timeoutMs);
    connect(m_idle, &QTimer::timeout, this, &CursorBlinkTimeout::stop);
    qApp->installEventFilter(this);
    m_idle->start();
}

CursorBlinkTimeout::~CursorBlinkTimeout() {
    resume();
}

void CursorBlinkTimeout::install() {
    new CursorBlinkTimeout(DefaultTimeoutMs, qApp);
}

bool CursorBlinkTimeout::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::InputMethod:
    case QEvent::Wheel:
        resume();
        m_idle->start();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void CursorBlinkTimeout::stop() {
    if (m_stopped)
        return;
    // A flash time of 0 shows the cursor steadily; text fields follow the change.
    m_flashTime = QGuiApplication::styleHints()->cursorFlashTime();
    m_stopped = true;
    QGuiApplication::styleHints()->setCursorFlashTime(0);
}

void CursorBlinkTimeout::resume() {
    if (!m_stopped)
        return;
    m_stopped = false;
    QGuiApplication::styleHints()->setCursorFlashTime(m_flashTime);
}
