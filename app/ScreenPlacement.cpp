#include "app/ScreenPlacement.h"

#include <algorithm>
#include <limits>

namespace {

// Distance between two rectangles along one axis: 0 when they overlap on it.
qint64 gap(int firstStart, int firstEnd, int secondStart, int secondEnd) {
    if (firstEnd < secondStart)
        return qint64(secondStart) - firstEnd;
    if (secondEnd < firstStart)
        return qint64(firstStart) - secondEnd;
    return 0;
}

qint64 squaredDistance(const QRect& a, const QRect& b) {
    const qint64 dx = gap(a.left(), a.right(), b.left(), b.right());
    const qint64 dy = gap(a.top(), a.bottom(), b.top(), b.bottom());
    return dx * dx + dy * dy;
}

// The start that keeps a span of length inside [areaStart, areaStart + areaLength),
// moving it as little as possible; the area's start when the span is longer.
int clampedStart(int start, int length, int areaStart, int areaLength) {
    if (length >= areaLength)
        return areaStart;
    return std::clamp(start, areaStart, areaStart + areaLength - length);
}

} // namespace

namespace ScreenPlacement {

std::optional<QPoint> placeOnScreen(const QRect& note, const QList<Screen>& screens) {
    if (screens.isEmpty())
        return std::nullopt;
    for (const Screen& screen : screens) {
        if (screen.geometry.intersects(note))
            return std::nullopt;
    }
    const Screen* nearest = &screens.first();
    qint64 best = std::numeric_limits<qint64>::max();
    for (const Screen& screen : screens) {
        const qint64 distance = squaredDistance(note, screen.geometry);
        if (distance < best) {
            best = distance;
            nearest = &screen;
        }
    }
    const QRect area = nearest->available.isValid() ? nearest->available : nearest->geometry;
    return QPoint(clampedStart(note.x(), note.width(), area.x(), area.width()),
                  clampedStart(note.y(), note.height(), area.y(), area.height()));
}

} // namespace ScreenPlacement
