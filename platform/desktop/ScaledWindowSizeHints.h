#pragma once

#include <QObject>

// Gives every window a base size of zero before it reaches the window manager.
//
// On a scaled screen (Xft.dpi above 96, QT_SCALE_FACTOR) Qt announces a resize
// increment of the scale and a base size scaled from "unset", which comes out
// negative (-2 x -2 at 200 %). Window managers that size windows as base plus a
// whole number of increments (fluxbox among them) then make a 65534 x 65534 window,
// whose backing store alone takes gigabytes. A base size of zero keeps every window at
// the size the program gives it.
class ScaledWindowSizeHints final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
