// Saves the notes file over and over, as the program's save does (NotesFile, through the
// crash-safe INI layer), for the kill harness to kill at any moment.
//
//   tacknote_crash_saver [--deleted] <file> [saves]
//
// At start it removes what an interrupted save left beside the file (as the program's
// start does) and loads the file; it prints "loaded <g>" with the generation the file
// holds (0 for a file without those notes), then saves generation g+1, g+2, ... each as
// 101 full notes, printing "saved <g>" after each save, until it is killed or has made
// the given number of saves. With --deleted the file is a deleted-notes file, and each
// save keeps one more deleted note through the program's own code (CrashNotes).

#include "core/notes/DeletedNotes.h"
#include "platform/Clock.h"
#include "platform/system/DurableFile.h"
#include "tests/crash/CrashNotes.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cstdio>

namespace {

class SettableClock final : public Clock {
public:
    QDateTime now() const override { return when; }
    QDateTime when;
};

void report(const char* what, qint64 generation) {
    std::printf("%s %lld\n", what, static_cast<long long>(generation));
    std::fflush(stdout);
}

// Keeps one deleted note per save, as the program does when a note is deleted.
int saveDeletedNotes(const QString& path, qint64 saves) {
    SettableClock clock;
    DeletedNotes deleted(path, clock, CrashNotes::locale());
    deleted.removeLeftovers();
    QString problem;
    qint64 generation = CrashNotes::deletedGeneration(path, &problem).value_or(0);
    report("loaded", generation);
    for (qint64 done = 0; saves < 0 || done < saves; ++done) {
        ++generation;
        clock.when = CrashNotes::deletedAt(generation);
        deleted.keep(CrashNotes::record(generation, int(generation % CrashNotes::Count)));
        report("saved", generation);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    const bool deletedNotes = args.size() > 1 && args.at(1) == QLatin1String("--deleted");
    if (deletedNotes)
        args.removeAt(1);
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: tacknote_crash_saver [--deleted] <file> [saves]\n");
        return 2;
    }
    const QString path = args.at(1);
    const qint64 saves = args.size() > 2 ? args.at(2).toLongLong() : -1;
    if (deletedNotes)
        return saveDeletedNotes(path, saves);
    const SettingsStore::Context context{QStringLiteral("/opt/tacknote/"), QStringLiteral("ana")};

    DurableFile::removeLeftovers(path);
    NotesFile file(path, CrashNotes::locale(), context);
    file.load(QDateTime::currentDateTime());
    QString problem;
    qint64 generation = CrashNotes::savedGeneration(path, context, &problem).value_or(0);
    report("loaded", generation);

    const GeneralSettings geral = CrashNotes::settings(context);
    const NetworkSettings rede = CrashNotes::network();
    for (qint64 done = 0; saves < 0 || done < saves; ++done) {
        ++generation;
        file.save(geral, rede, true, CrashNotes::records(generation));
        report("saved", generation);
    }
    return 0;
}
