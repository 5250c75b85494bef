#include "platform/desktop/DesktopWindowHints.h"

#include "platform/desktop/IdleWindowSurface.h"

#include <QGuiApplication>
#include <QList>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

// xcb replies are allocated with malloc.
struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeReply>;

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The native window the toolkit has now: the widget's own id stays the old one when the
// toolkit replaces the native window behind its back.
xcb_window_t nativeWindow(QWidget& window) {
    window.winId();
    const QWindow* handle = window.windowHandle();
    return static_cast<xcb_window_t>(handle ? handle->winId() : window.winId());
}

} // namespace

DesktopWindowHints::DesktopWindowHints() {
    const auto* x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return;
    m_connection = x11->connection();
    m_netWmState = internAtom(m_connection, "_NET_WM_STATE");
    m_skipTaskbar = internAtom(m_connection, "_NET_WM_STATE_SKIP_TASKBAR");
    m_skipPager = internAtom(m_connection, "_NET_WM_STATE_SKIP_PAGER");
}

void DesktopWindowHints::keepOffTaskbar(QWidget& window) {
    if (!m_connection || m_netWmState == XCB_ATOM_NONE)
        return;
    const xcb_window_t id = nativeWindow(window);
    // Written whole, without asking the server first (no round trip per note): Qt adds
    // its own states (stay on top, modal) to this list when it maps the window.
    QList<xcb_atom_t> states;
    for (const xcb_atom_t state : {xcb_atom_t(m_skipTaskbar), xcb_atom_t(m_skipPager)}) {
        if (state != XCB_ATOM_NONE)
            states.append(state);
    }
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, id, m_netWmState, XCB_ATOM_ATOM, 32,
                        uint32_t(states.size()), states.constData());
    xcb_flush(m_connection);
}

void DesktopWindowHints::keepShownWindowOffTaskbar(QWidget& window) {
    if (!m_connection || m_netWmState == XCB_ATOM_NONE || m_skipTaskbar == XCB_ATOM_NONE)
        return;
    const xcb_window_t id = nativeWindow(window);
    // A mapped window's state belongs to the window manager: it is asked, through its
    // root window, to add the two states.
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, id), nullptr));
    if (!tree)
        return;
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = id;
    event.type = m_netWmState;
    event.data.data32[0] = 1; // _NET_WM_STATE_ADD
    event.data.data32[1] = m_skipTaskbar;
    event.data.data32[2] = m_skipPager;
    event.data.data32[3] = 1; // asked by an application
    xcb_send_event(m_connection, 0, tree->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(m_connection);
}

void DesktopWindowHints::releaseSurfaceWhenIdle(QWidget& window) {
    // An X server without a compositor keeps showing what was last put into a window
    // and asks for a repaint (an expose) when a part of it must be drawn again.
    if (m_connection)
        IdleWindowSurface::watch(window, kSurfaceIdleMs);
}
