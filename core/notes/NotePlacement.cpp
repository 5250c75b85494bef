#include "core/notes/NotePlacement.h"

#include "core/notes/NoteGeometry.h"

#include <cstdlib>

QRect NotePlacement::put(const QRect& bounds, const QList<QRect>& screens) {
    m_storedPlace.reset();
    m_size = NoteGeometry::boundedSize(bounds.width(), bounds.height());
    m_shownSize = NoteGeometry::boundedSize(bounds.width(), bounds.height(), screens);
    return QRect(bounds.topLeft(), m_shownSize);
}

void NotePlacement::showAway(const QPoint& place, const QRect& window) {
    if (!storedPlace(window.topLeft()))
        m_storedPlace = recordedBounds(window);
    m_shownAt = place;
}

void NotePlacement::resized(const QSize& size) {
    if (!m_shownSize.isValid() || std::abs(size.width() - m_shownSize.width()) > 1 ||
        std::abs(size.height() - m_shownSize.height()) > 1)
        m_size = m_shownSize = size;
}

std::optional<QRect> NotePlacement::storedPlace(const QPoint& windowPos) const {
    // Moved elsewhere than where it was put (beyond a window manager's rounding), the
    // note is where the user wants it.
    if (m_storedPlace && (windowPos - m_shownAt).manhattanLength() <= 2)
        return m_storedPlace;
    return std::nullopt;
}

QRect NotePlacement::recordedBounds(const QRect& window) const {
    QRect outer = storedPlace(window.topLeft()).value_or(window);
    if (m_size.isValid())
        outer.setSize(m_size);
    return outer;
}
