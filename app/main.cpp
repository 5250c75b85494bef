#include "app/TacknoteApplication.h"
#include "app/TfStickyNote.h"
#include "platform/DesktopSystemPaths.h"
#include "platform/QtLocaleInfo.h"
#include "platform/QtMessageBoxes.h"
#include "platform/SystemClock.h"
#include "platform/TerminationSignals.h"

int main(int argc, char** argv) {
    TacknoteApplication app(argc, argv);

    SystemClock clock;
    QtLocaleInfo locale;
    DesktopSystemPaths paths;
    QtMessageBoxes messages;
    app.setMessageBoxes(&messages);

    TfStickyNote main({clock, locale, paths, messages});

    // Asked to stop by a signal or by the end of the desktop session: save and end.
    TerminationSignals signals;
    QObject::connect(&signals, &TerminationSignals::terminationRequested, &main,
                     &TfStickyNote::closeProgram);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &main, &TfStickyNote::closeProgram,
                     Qt::DirectConnection);
    // A quit from anywhere else still saves the notes first.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &main, &TfStickyNote::closeProgram);

    main.start();
    return app.exec();
}
