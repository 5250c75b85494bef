#pragma once

#include <Qt>

// Which part of a frameless note window a point belongs to: the window surface drags the
// window, its borders and corners resize it. The values are the hit-test codes of the
// Windows window manager, so they read the same as in other tools.
class NoteHitTest {
public:
    enum Zone {
        Client = 1,
        Caption = 2,
        Left = 10,
        Right = 11,
        Top = 12,
        TopLeft = 13,
        TopRight = 14,
        Bottom = 15,
        BottomLeft = 16,
        BottomRight = 17,
    };

    // x, y relative to the window's top-left corner; width, height of the window.
    static Zone zoneAt(int x, int y, int width, int height);
    // The window edges a resize from zone moves; empty for Client and Caption.
    static Qt::Edges edges(Zone zone);
    // The mouse cursor shown over zone.
    static Qt::CursorShape cursor(Zone zone);
};
