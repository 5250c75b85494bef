#include "gui/note/NoteHitTest.h"

NoteHitTest::Zone NoteHitTest::zoneAt(int x, int y, int width, int height) {
    // Each rule that matches overrides the ones before it; all comparisons are strict,
    // so a point exactly 12 pixels from a border belongs to no corner and no edge.
    const int w = width;
    const int h = height;
    Zone zone = Client;
    if (y < h) {
        zone = Caption;
    }
    if (y > h - 12 && x > w - 12) {
        zone = BottomRight;
    }
    if (y < 12 && x > w - 12) {
        zone = TopRight;
    }
    if (y < 12 && x < 12) {
        zone = TopLeft;
    }
    if (y > h - 12 && x < 12) {
        zone = BottomLeft;
    }
    if (y > h - 6 && x > 12 && x < w - 12) {
        zone = Bottom;
    }
    if (y < 2 && x > 12 && x < w - 12) {
        zone = Top;
    }
    if (x > w - 6 && y > 12 && y < h - 12) {
        zone = Right;
    }
    if (x < 6 && y > 12 && y < h - 12) {
        zone = Left;
    }
    return zone;
}

Qt::Edges NoteHitTest::edges(Zone zone) {
    switch (zone) {
    case Left:
        return Qt::LeftEdge;
    case Right:
        return Qt::RightEdge;
    case Top:
        return Qt::TopEdge;
    case Bottom:
        return Qt::BottomEdge;
    case TopLeft:
        return Qt::TopEdge | Qt::LeftEdge;
    case TopRight:
        return Qt::TopEdge | Qt::RightEdge;
    case BottomLeft:
        return Qt::BottomEdge | Qt::LeftEdge;
    case BottomRight:
        return Qt::BottomEdge | Qt::RightEdge;
    case Client:
    case Caption:
        break;
    }
    return {};
}

Qt::CursorShape NoteHitTest::cursor(Zone zone) {
    switch (zone) {
    case Left:
    case Right:
        return Qt::SizeHorCursor;
    case Top:
    case Bottom:
        return Qt::SizeVerCursor;
    case TopLeft:
    case BottomRight:
        return Qt::SizeFDiagCursor;
    case TopRight:
    case BottomLeft:
        return Qt::SizeBDiagCursor;
    case Client:
    case Caption:
        break;
    }
    return Qt::ArrowCursor;
}
