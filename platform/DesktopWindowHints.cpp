#include "platform/DesktopWindowHints.h"

#include <QGuiApplication>
#include <QList>
#include <QWidget>

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
    const auto id = static_cast<xcb_window_t>(window.winId());
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
