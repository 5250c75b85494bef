#pragma once

class QWidget;

// What the program tells the desktop's window manager about its windows beyond what Qt
// tells it, and how it keeps their drawing surfaces.
class WindowSystemHints {
public:
    virtual ~WindowSystemHints() = default;

    // Keeps window out of task bars, pagers and window switchers, as a tool window of
    // the program. Called before each mapping of the window: window managers forget
    // the request when a window is unmapped.
    virtual void keepOffTaskbar(QWidget& window) = 0;

    // The same for a window already on screen. The toolkit replaces a window's native
    // window when it maps it after a change of stay on top, and the new native window
    // knows nothing of a request made for the old one.
    virtual void keepShownWindowOffTaskbar(QWidget& window) = 0;

    // Lets window give back its drawing surface while it sits untouched, where the window
    // system keeps showing a window without it; the surface comes back when the window
    // is drawn again.
    virtual void releaseSurfaceWhenIdle(QWidget& window) = 0;
};
