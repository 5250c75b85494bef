// Saves the notes file over and over, as the program's save does (NotesFile, through the
// crash-safe INI layer), for the kill harness to kill at any moment.
//
//   tacknote_crash_saver <notes file> [saves]
//
// At start it removes what an interrupted save left beside the file (as the program's
// start does) and loads the file; it prints "loaded <g>" with the generation the file
// holds (0 for a file without those notes), then saves generation g+1, g+2, ... each as
// 101 full notes, printing "saved <g>" after each save, until it is killed or has made
// the given number of saves.

#include "platform/system/DurableFile.h"
#include "tests/crash/CrashNotes.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: tacknote_crash_saver <notes file> [saves]\n");
        return 2;
    }
    const QString path = args.at(1);
    const qint64 saves = args.size() > 2 ? args.at(2).toLongLong() : -1;
    const SettingsStore::Context context{QStringLiteral("/opt/tacknote/"), QStringLiteral("ana")};

    DurableFile::removeLeftovers(path);
    NotesFile file(path, CrashNotes::locale(), context);
    file.load(QDateTime::currentDateTime());
    QString problem;
    qint64 generation = CrashNotes::savedGeneration(path, context, &problem).value_or(0);
    std::printf("loaded %lld\n", static_cast<long long>(generation));
    std::fflush(stdout);

    const GeneralSettings geral = CrashNotes::settings(context);
    const NetworkSettings rede = CrashNotes::network();
    for (qint64 done = 0; saves < 0 || done < saves; ++done) {
        ++generation;
        file.save(geral, rede, true, CrashNotes::records(generation));
        std::printf("saved %lld\n", static_cast<long long>(generation));
        std::fflush(stdout);
    }
    return 0;
}
