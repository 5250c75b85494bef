#include "note/NoteMover.h"

#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace {
constexpr int MaxCorrections = 3;
}

void NoteMover::placedAt(const QPoint& position) {
    m_placedAt = position;
    m_corrections = 0;
}

void NoteMover::moved(const QPoint& position) {
    if (!m_placedAt || position == *m_placedAt || !m_window->isVisible() ||
        m_corrections >= MaxCorrections)
        return;
    ++m_corrections;
    QTimer::singleShot(0, m_window, [this] {
        if (m_placedAt && m_window->pos() != *m_placedAt)
            m_window->move(*m_placedAt);
    });
}

bool NoteMover::press(NoteHitTest::Zone zone, const QPoint& globalPos) {
    if (zone == NoteHitTest::Client)
        return false;
    // From now on the note is where the user puts it.
    m_placedAt.reset();
    if (zone == NoteHitTest::Caption) {
        if (QWindow* window = m_window->windowHandle(); window && window->startSystemMove())
            return true;
    }
    m_zone = zone;
    m_start = globalPos;
    m_startGeometry = m_window->geometry();
    return true;
}

bool NoteMover::drag(const QPoint& globalPos) {
    if (m_zone == NoteHitTest::Client)
        return false;
    const QPoint delta = globalPos - m_start;
    QRect target = m_startGeometry;
    if (m_zone == NoteHitTest::Caption) {
        target.translate(delta);
        m_window->setGeometry(target);
        return true;
    }
    const Qt::Edges edges = NoteHitTest::edges(m_zone);
    const QSize minimum = m_window->minimumSize();
    if (edges & Qt::LeftEdge)
        target.setLeft(std::min(target.left() + delta.x(), target.right() + 1 - minimum.width()));
    if (edges & Qt::RightEdge)
        target.setRight(std::max(target.right() + delta.x(), target.left() + minimum.width() - 1));
    if (edges & Qt::TopEdge)
        target.setTop(std::min(target.top() + delta.y(), target.bottom() + 1 - minimum.height()));
    if (edges & Qt::BottomEdge)
        target.setBottom(
            std::max(target.bottom() + delta.y(), target.top() + minimum.height() - 1));
    m_window->setGeometry(target);
    return true;
}

void NoteMover::release() {
    m_zone = NoteHitTest::Client;
}
