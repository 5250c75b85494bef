#include "app/DataLocation.h"
#include "app/TacknoteApplication.h"
#include "app/TacknoteMsg.h"
#include "app/TfStickyNote.h"
#include "platform/CursorBlinkTimeout.h"
#include "platform/DesktopNativeHostFolders.h"
#include "platform/DesktopSystemPaths.h"
#include "platform/DesktopWindowHints.h"
#include "platform/DialogsAboveNotes.h"
#include "platform/QtCommonDialogs.h"
#include "platform/QtLocaleInfo.h"
#include "platform/QtMessageBoxes.h"
#include "platform/QtShellOpener.h"
#include "platform/QtSoundPlayer.h"
#include "platform/QtTrayIcon.h"
#include "platform/SingleInstance.h"
#include "platform/SystemClock.h"
#include "platform/TerminationSignals.h"
#include "platform/WaylandSession.h"
#include "platform/XdgAutostart.h"

#include <cstdio>

namespace {
// The messages a later start sends to the running copy: come forward, or create a note
// (the desktop's "Nova Nota" action, "tacknote --new-note"). The channel's other messages
// are listed beside them in app/TacknoteMsg.h.
const QByteArray ActivateMessage = TacknoteMsg::Activate;
const QByteArray NewNoteMessage = TacknoteMsg::NewNote;
} // namespace

int main(int argc, char** argv) {
    const bool throughXWayland = WaylandSession::preferXWayland();
    TacknoteApplication app(argc, argv);
    if (throughXWayland)
        WaylandSession::forgetPreference();

    const bool newNote = QCoreApplication::arguments().contains(QStringLiteral("--new-note"));
    DialogsAboveNotes::install();
    CursorBlinkTimeout::install();

    DesktopSystemPaths paths;
    // One copy per user and data folder: a later start hands over to the running one and
    // ends without touching the notes file.
    const DataLocation location = DataLocation::prepare(paths);
    SingleInstance instance(location.DataDir, location.LogonUser);
    if (!instance.claim()) {
        const QString server = SingleInstance::serverName(location.DataDir, location.LogonUser);
        if (SingleInstance::send(server, newNote ? NewNoteMessage : ActivateMessage, 5000))
            return 0;
        std::fprintf(stderr,
                     "Tacknote is already running for %s but does not answer; not starting a "
                     "second copy.\n",
                     qPrintable(location.DataDir));
        return 1;
    }

    SystemClock clock;
    QtLocaleInfo locale;
    QtMessageBoxes messages;
    QtSoundPlayer sound;
    QtTrayIcon tray;
    QtShellOpener shell;
    QtCommonDialogs dialogs;
    DesktopNativeHostFolders nativeHosts; // browser capture: the browsers' registration
    DesktopWindowHints windowHints;
    XdgAutostart autostart(XdgAutostart::userConfigHome(),
                           XdgAutostart::launcherFor(QCoreApplication::applicationFilePath()));
    app.setMessageBoxes(&messages);

    TfStickyNote main({clock, locale, paths, messages, sound, tray, shell, dialogs, &nativeHosts,
                       &windowHints, &autostart});
    // Browser capture: the start step installs AppMessage on this channel.
    main.setMessageChannel(&instance);
    QObject::connect(&instance, &SingleInstance::messageReceived, &main,
                     [&main](const QByteArray& message) {
                         if (message == ActivateMessage)
                             main.otherStart();
                         else if (message == NewNoteMessage)
                             main.newNoteFromDesktop();
                     });
    if (newNote)
        main.newNoteFromDesktop();

    // Asked to stop by a signal or by the end of the desktop session: save and end.
    TerminationSignals signals;
    QObject::connect(&signals, &TerminationSignals::terminationRequested, &main,
                     &TfStickyNote::FormCloseQuery);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &main,
                     &TfStickyNote::FormCloseQuery, Qt::DirectConnection);
    // A quit from anywhere else still saves the notes first.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &main, &TfStickyNote::FormCloseQuery);

    main.start();
    return app.exec();
}
