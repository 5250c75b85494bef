#include "core/notes/NoteGeometry.h"

#include <algorithm>

namespace {

// The start that keeps [start, start + length) inside [areaStart, areaStart + areaLength),
// in 64 bits so edges far out in the int range cannot overflow.
int startInside(int start, int length, int areaStart, int areaLength) {
    if (length >= areaLength)
        return areaStart;
    const qint64 last = qint64(areaStart) + areaLength - length;
    return int(std::clamp<qint64>(start, areaStart, last));
}

} // namespace

namespace NoteGeometry {

QSize boundedSize(int width, int height, const QList<QRect>& screens) {
    int maxWidth = 0;
    int maxHeight = 0;
    for (const QRect& screen : screens) {
        maxWidth = std::max(maxWidth, screen.width());
        maxHeight = std::max(maxHeight, screen.height());
    }
    if (maxWidth <= 0 || maxHeight <= 0) {
        maxWidth = MaxWidth;
        maxHeight = MaxHeight;
    }
    return QSize(
        std::clamp(width, MinWidth, std::max(MinWidth, std::min(maxWidth, MaxWidth))),
        std::clamp(height, MinHeight, std::max(MinHeight, std::min(maxHeight, MaxHeight))));
}

QRect keptInside(const QRect& note, const QRect& area) {
    if (!area.isValid())
        return note;
    return QRect(startInside(note.x(), note.width(), area.x(), area.width()),
                 startInside(note.y(), note.height(), area.y(), area.height()), note.width(),
                 note.height());
}

} // namespace NoteGeometry
