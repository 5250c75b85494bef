#include "gui/note/NoteMover.h"

#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

void NoteMover::mapping() {
    m_mapping = true;
    m_mappedAt = m_window->pos();
}

void NoteMover::exposed() {
    m_mapping = false;
}

void NoteMover::moved(const QPoint& position, bool spontaneous) {
    if (!m_mapping)
        return;
    if (!spontaneous) {
        // The program placed the window anew before it came on the screen.
        m_mappedAt = position;
        return;
    }
    // Only the first report after mapping can be the false one.
    m_mapping = false;
    if (position == m_mappedAt)
        return;
    const QPoint mappedAt = m_mappedAt;
    QTimer::singleShot(0, m_window, [this, mappedAt] {
        if (m_window->pos() != mappedAt)
            m_window->move(mappedAt);
    });
}

bool NoteMover::press(NoteHitTest::Zone zone, const QPoint& globalPos) {
    if (zone == NoteHitTest::Client)
        return false;
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
