#include "core/program/ScreenPlacement.h"

#include <algorithm>
#include <limits>

namespace {

// A rectangle's extent along one axis as [start, end), in 64 bits: a position read from
// a damaged file may lie anywhere in the int range, where QRect's own edges overflow.
struct Span {
    qint64 start;
    qint64 end;
};

Span horizontal(const QRect& r) {
    return {r.x(), qint64(r.x()) + std::max(r.width(), 0)};
}

Span vertical(const QRect& r) {
    return {r.y(), qint64(r.y()) + std::max(r.height(), 0)};
}

// Distance between two spans: 0 when they overlap.
qint64 gap(Span a, Span b) {
    if (a.end <= b.start)
        return b.start - a.end + 1;
    if (b.end <= a.start)
        return a.start - b.end + 1;
    return 0;
}

bool overlaps(const QRect& a, const QRect& b) {
    return gap(horizontal(a), horizontal(b)) == 0 && gap(vertical(a), vertical(b)) == 0 &&
           a.width() > 0 && a.height() > 0 && b.width() > 0 && b.height() > 0;
}

double squaredDistance(const QRect& a, const QRect& b) {
    const double dx = double(gap(horizontal(a), horizontal(b)));
    const double dy = double(gap(vertical(a), vertical(b)));
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
        if (overlaps(screen.geometry, note))
            return std::nullopt;
    }
    const Screen* nearest = &screens.first();
    double best = std::numeric_limits<double>::max();
    for (const Screen& screen : screens) {
        const double distance = squaredDistance(note, screen.geometry);
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
