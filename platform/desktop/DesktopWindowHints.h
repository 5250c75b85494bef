#pragma once

#include "platform/WindowSystemHints.h"

#include <cstdint>

struct xcb_connection_t;

// The window hints on the running desktop: on an X11 display the EWMH states
// _NET_WM_STATE_SKIP_TASKBAR and _NET_WM_STATE_SKIP_PAGER, and idle windows giving back
// their drawing surfaces (`IdleWindowSurface`); on any other display nothing (Wayland
// compositors keep such decisions to themselves).
class DesktopWindowHints final : public WindowSystemHints {
public:
    DesktopWindowHints();

    void keepOffTaskbar(QWidget& window) override;
    void keepShownWindowOffTaskbar(QWidget& window) override;
    void releaseSurfaceWhenIdle(QWidget& window) override;

    // The program runs on an X11 display.
    bool onX11() const { return m_connection != nullptr; }

private:
    // How long a window stays undrawn before its surface goes.
    static constexpr int kSurfaceIdleMs = 2000;

    xcb_connection_t* m_connection = nullptr;
    uint32_t m_netWmState = 0;
    uint32_t m_skipTaskbar = 0;
    uint32_t m_skipPager = 0;
};
