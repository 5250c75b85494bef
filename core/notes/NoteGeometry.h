#pragma once

#include <QList>
#include <QRect>
#include <QSize>

// The sizes a note may take, whoever asks for them: a peer's "new", a notes file, the
// program itself. A note is never smaller than its window's minimum and never larger
// than a screen can show, so a number from outside cannot make a window that takes
// gigabytes of memory to draw.
namespace NoteGeometry {

// The note window's minimum size.
inline constexpr int MinWidth = 80;
inline constexpr int MinHeight = 40;
// The largest note where nothing is known about the screens: an 8K desktop.
// The parts of a note window around its text area: the caption bar above it, the footer
// of a received note below it, and the margin.
inline constexpr int CaptionBarHeight = 13;
inline constexpr int FooterHeight = 12;
inline constexpr int TextAreaMargin = 5;
inline constexpr int MaxWidth = 7680;
inline constexpr int MaxHeight = 4320;

// width and height kept within the minimum and the largest extent any of the screens'
// available areas has in that direction; within MaxWidth x MaxHeight when no screen is
// given.
QSize boundedSize(int width, int height, const QList<QRect>& screens = {});

// note moved as little as possible to lie inside area; a note wider or taller than the
// area starts at its left or top edge. The size stays.
QRect keptInside(const QRect& note, const QRect& area);

} // namespace NoteGeometry
