#include "core/program/InterfaceTexts.h"
#include "core/program/StartGate.h"
#include "gui/program/CommandLine.h"
#include "gui/program/HiddenMainWindow.h"
#include "gui/program/TacknoteApplication.h"
#include "platform/desktop/CursorBlinkTimeout.h"
#include "platform/desktop/DBusDesktopNotifier.h"
#include "platform/desktop/DesktopWindowHints.h"
#include "platform/desktop/DialogsAboveNotes.h"
#include "platform/desktop/QtCommonDialogs.h"
#include "platform/desktop/QtMessageBoxes.h"
#include "platform/desktop/QtShellOpener.h"
#include "platform/desktop/QtSoundPlayer.h"
#include "platform/desktop/QtTrayIcon.h"
#include "platform/system/DesktopNativeHostFolders.h"
#include "platform/system/DesktopSystemPaths.h"
#include "platform/system/HeapRelease.h"
#include "platform/system/QtLocaleInfo.h"
#include "platform/system/SingleInstance.h"
#include "platform/system/SystemClock.h"
#include "platform/system/TerminationSignals.h"
#include "platform/system/WaylandSession.h"
#include "platform/system/XdgAutostart.h"

#include <QFile>
#include <QTimer>

#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {

// How long a command for the running copy may wait for a copy that is just starting.
constexpr int CommandWaitMs = 1000;

// The command line, read without a display: help, version and wrong options end here,
// and a running copy takes its message without this start opening a window.
std::optional<int> beforeTheDisplay(int& argc, char** argv, CommandLine::Request& request) {
    QCoreApplication core(argc, argv);
    DesktopSystemPaths paths;
    QtLocaleInfo locale;
    const DataLocation location = DataLocation::locate(paths);
    const std::unique_ptr<InterfaceTexts> texts = StartGate::installTexts(location, locale);

    QFile input;
    if (!input.open(STDIN_FILENO, QIODevice::ReadOnly))
        input.setFileName(QString());
    request = CommandLine::parse(QCoreApplication::arguments(), input);
    if (request.exitCode >= 0)
        return request.exitCode;

    const QString server = SingleInstance::serverName(location.DataDir, location.LogonUser);
    if (SingleInstance::send(server, request.message, request.startsProgram ? 0 : CommandWaitMs))
        return 0;
    if (!request.startsProgram) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(QCoreApplication::translate(
                                    "CommandLine", "O Tacknote não está aberto para a pasta %1.")
                                    .arg(location.DataDir)));
        return 1;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    HeapRelease::shareOneHeap();
    CommandLine::Request request;
    if (const std::optional<int> status = beforeTheDisplay(argc, argv, request))
        return *status;

    const bool throughXWayland = WaylandSession::preferXWayland();
    TacknoteApplication app(argc, argv);
    if (throughXWayland)
        WaylandSession::forgetPreference();

    DialogsAboveNotes::install();
    CursorBlinkTimeout::install();

    DesktopSystemPaths paths;
    QtLocaleInfo locale;
    QtMessageBoxes messages;
    app.setMessageBoxes(&messages);
    // One copy per user and data folder: a later start hands its request over to the
    // running one and ends without touching the notes file.
    StartGate gate({paths, locale, messages});
    switch (gate.open(request.message)) {
    case StartGate::Outcome::HandedOver:
        return 0;
    case StartGate::Outcome::Refused:
        return 1;
    case StartGate::Outcome::Run:
        break;
    }

    SystemClock clock;
    QtSoundPlayer sound;
    QtTrayIcon tray;
    QtShellOpener shell;
    QtCommonDialogs dialogs;
    DesktopNativeHostFolders nativeHosts; // browser capture: the browsers' registration
    DesktopWindowHints windowHints;
    XdgAutostart autostart(XdgAutostart::userConfigHome(),
                           XdgAutostart::launcherFor(QCoreApplication::applicationFilePath()));

    DBusDesktopNotifier notifier(QDBusConnection::sessionBus());

    HiddenMainWindow main({clock, locale, paths, messages, sound, tray, shell, dialogs,
                           &nativeHosts, &windowHints, &autostart, &notifier});
    // Later starts, the command line and the browser capture reach the program here.
    main.setMessageChannel(gate.channel());
    // What this start was asked for happens once the notes are loaded.
    if (!request.afterStart.isEmpty())
        main.channelMessage(request.afterStart);

    // Asked to stop by a signal or by the end of the desktop session: save and end.
    TerminationSignals signals;
    QObject::connect(&signals, &TerminationSignals::terminationRequested, &main,
                     &HiddenMainWindow::FormCloseQuery);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &main,
                     &HiddenMainWindow::FormCloseQuery, Qt::DirectConnection);
    // A quit from anywhere else still saves the notes first.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &main,
                     &HiddenMainWindow::FormCloseQuery);

    main.start();
    // Once the start has settled (the notes loaded and drawn, a first save written), the
    // heap it used and freed goes back to the system.
    constexpr int kStartSettledMs = 3000;
    QTimer::singleShot(kStartSettledMs, &app, &HeapRelease::trim);
    const int status = app.exec();
    return status != 0 ? status : main.exitStatus();
}
