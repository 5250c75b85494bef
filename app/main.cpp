#include "app/TacknoteApplication.h"
#include "app/TfStickyNote.h"
#include "platform/DesktopSystemPaths.h"
#include "platform/QtLocaleInfo.h"
#include "platform/QtMessageBoxes.h"
#include "platform/QtShellOpener.h"
#include "platform/QtSoundPlayer.h"
#include "platform/QtTrayIcon.h"
#include "platform/SystemClock.h"
#include "platform/TerminationSignals.h"

int main(int argc, char** argv) {
    TacknoteApplication app(argc, argv);

    SystemClock clock;
    QtLocaleInfo locale;
    DesktopSystemPaths paths;
    QtMessageBoxes messages;
    QtSoundPlayer sound;
    QtTrayIcon tray;
    QtShellOpener shell;
    app.setMessageBoxes(&messages);

    TfStickyNote main({clock, locale, paths, messages, sound, tray, shell});

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
