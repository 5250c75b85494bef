#pragma once

#include <QList>
#include <QRect>
#include <optional>

// Where a note goes when it touches no screen (a screen was unplugged, the resolution
// shrank, a notes file came from a larger desktop): onto the nearest screen, fully
// inside its available area where it fits, its size unchanged.
namespace ScreenPlacement {

// The note's new place, or nothing when it touches a screen already (or there is no
// screen). screens: each screen's full geometry and its available area (without panels).
struct Screen {
    QRect geometry;
    QRect available;
};
std::optional<QPoint> placeOnScreen(const QRect& note, const QList<Screen>& screens);

} // namespace ScreenPlacement
