#pragma once

#include <QByteArray>
#include <QProcessEnvironment>

// Notes place themselves at stored positions and stay on top of other windows, which
// Wayland does not let a program do; on a Wayland session the program therefore runs
// through XWayland, the X11 server such sessions start for X11 programs.
class WaylandSession {
public:
    // The Qt platform to use in this environment: "xcb" on a Wayland session that offers
    // XWayland (DISPLAY set), unless QT_QPA_PLATFORM already names one; empty to leave
    // the choice to Qt.
    static QByteArray platformFor(const QProcessEnvironment& environment);

    // Sets QT_QPA_PLATFORM as platformFor says for this process. Call it before the
    // application object is created. True when it set the variable.
    static bool preferXWayland();
    // Takes back what preferXWayland set, once the application has chosen its platform,
    // so programs started from this one (a browser, a mail program) run natively.
    static void forgetPreference();
};
