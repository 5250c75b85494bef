#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

// Where a note is and how big it is, as against where its window shows it and how big.
//
// The note keeps the size the program or the user gave it. On a fractionally scaled
// screen the window manager rounds a window's size to its resize steps, which may take a
// pixel off; such a rounding is not a change of the note's size. A screen smaller than
// the note shows less of it without changing it either. A note shown away from its own
// place (its monitor was unplugged) keeps that place until the user moves it.
class NotePlacement {
public:
    // The note put at bounds: the window's geometry, its size within what the screens'
    // available areas can show.
    QRect put(const QRect& bounds, const QList<QRect>& screens);
    // The note, whose window has the geometry window, shown at place, away from its own
    // place.
    void showAway(const QPoint& place, const QRect& window);
    // The window took size (a resize event): a real resize gives the note that size.
    void resized(const QSize& size);

    // The note's own place while its window, now at windowPos, shows it away from it;
    // nothing otherwise, and nothing once the user has moved it.
    std::optional<QRect> storedPlace(const QPoint& windowPos) const;
    // The place and size the notes file keeps, for a window of geometry window.
    QRect recordedBounds(const QRect& window) const;

private:
    std::optional<QRect> m_storedPlace;
    QPoint m_shownAt;
    QSize m_size;
    QSize m_shownSize;
};
