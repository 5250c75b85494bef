#include "tests/crash/SaverKills.h"

#include "core/notes/DeletedNotes.h"
#include "tests/crash/CrashNotes.h"
#include "tests/crash/FolderWatch.h"
#include "tests/crash/HarnessSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <csignal>
#include <cstdio>

namespace {

struct SaverRun {
    qint64 loaded = -1;
    qint64 lastSaved = -1; // the last save it reported done; loaded when none
};

SaverRun parseSaverOutput(const QByteArray& output) {
    SaverRun run;
    for (const QByteArray& line : output.split('\n')) {
        if (line.startsWith("loaded "))
            run.loaded = run.lastSaved = line.mid(7).toLongLong();
        else if (line.startsWith("saved "))
            run.lastSaved = line.mid(6).toLongLong();
    }
    return run;
}

} // namespace

void SaverKills::run(const QString& saver, const QString& folder, int kills, File kind,
                     std::mt19937_64& random) {
    QDir().mkpath(folder);
    const bool deleted = kind == File::DeletedNotes;
    const QString name =
        deleted ? QLatin1String(DeletedNotes::FileName) : QStringLiteral("stickies.tkn");
    const QString path = folder + QLatin1Char('/') + name;
    const SettingsStore::Context context{QStringLiteral("/opt/tacknote/"), QStringLiteral("ana")};
    const auto savedGeneration = [&](QString* problem) {
        return deleted ? CrashNotes::deletedGeneration(path, problem)
                       : CrashNotes::savedGeneration(path, context, problem);
    };
    // The saver's arguments for this file, then those given.
    const auto arguments = [&](QStringList more) {
        more.prepend(path);
        if (deleted)
            more.prepend(QStringLiteral("--deleted"));
        return more;
    };
    const char* title = deleted ? "deleted-notes saver" : "saver";
    FolderWatch watch(folder);
    QString problem;

    // Twenty saves without a kill: how long a save takes, and how long it writes (from
    // the creation of its temporary file to the replacement of the notes file).
    QElapsedTimer clock;
    clock.start();
    QProcess first;
    first.start(saver, arguments({QStringLiteral("20")}));
    qint64 createdAt = -1;
    qint64 writing = 0;
    int writes = 0;
    while (first.state() != QProcess::NotRunning || writes < 20) {
        const std::optional<FolderWatch::Event> event = watch.next(20);
        if (!event) {
            first.waitForFinished(0);
            if (first.state() == QProcess::NotRunning && !watch.next(100))
                break;
            continue;
        }
        if (event->createsTemporaryOf(name)) {
            createdAt = clock.nsecsElapsed() / 1000;
        } else if (event->replaces(name) && createdAt >= 0) {
            writing += clock.nsecsElapsed() / 1000 - createdAt;
            ++writes;
            createdAt = -1;
        }
    }
    first.waitForFinished(120000);
    if (first.exitCode() != 0 || writes == 0)
        fail(QStringLiteral("the saver did not complete 20 saves"));
    const qint64 saveUs = std::max<qint64>(clock.nsecsElapsed() / 1000 / 20, 500);
    const qint64 writeUs = std::max<qint64>(writing / writes, 200);
    qint64 onDisk = savedGeneration(&problem).value_or(-1);
    if (onDisk != 20)
        fail(QStringLiteral("after 20 saves the file holds: ") + problem);
    std::printf("%s: one save takes about %.1f ms, of which %.1f ms writing\n", title,
                double(saveUs) / 1000.0, double(writeUs) / 1000.0);

    Tally tally;
    clock.restart();
    for (int k = 0; k < kills; ++k) {
        // Half the kills anywhere within the first few saves, half while one of the first
        // saves writes its temporary file or replaces the notes file with it.
        const bool whileWriting = std::uniform_int_distribution<int>(0, 1)(random) == 1;
        const int save = std::uniform_int_distribution<int>(1, 2)(random);
        const qint64 delay = std::uniform_int_distribution<qint64>(
            0, whileWriting ? 2 * writeUs : 3 * saveUs)(random);
        while (watch.next(0)) {
        }
        QProcess process;
        process.start(saver, arguments({}));
        QByteArray output;
        while (!output.contains('\n')) {
            if (!process.waitForReadyRead(30000))
                fail(QStringLiteral("the saver did not start"));
            output += process.readAllStandardOutput();
        }
        if (whileWriting) {
            for (int created = 0; created < save;) {
                const std::optional<FolderWatch::Event> event = watch.next(30000);
                if (!event)
                    fail(QStringLiteral("the saver wrote no temporary file"));
                if (event->createsTemporaryOf(name))
                    ++created;
            }
        }
        sleepMicroseconds(delay);
        ::kill(pid_t(process.processId()), SIGKILL);
        process.waitForFinished(30000);
        output += process.readAllStandardOutput();
        const SaverRun run = parseSaverOutput(output);
        if (run.loaded != onDisk)
            fail(QStringLiteral("kill %1: the saver loaded save %2, the file held save %3")
                     .arg(k)
                     .arg(run.loaded)
                     .arg(onDisk));

        const std::optional<qint64> found = savedGeneration(&problem);
        if (!found)
            fail(QStringLiteral("kill %1: the notes file does not hold one whole save: ").arg(k) +
                 problem);
        if (*found != run.lastSaved && *found != run.lastSaved + 1)
            fail(QStringLiteral("kill %1: the file holds save %2, the last saves were %3 and %4")
                     .arg(k)
                     .arg(*found)
                     .arg(run.lastSaved)
                     .arg(run.lastSaved + 1));
        const QStringList left = CrashNotes::leftovers(path);
        if (left.size() > 1)
            fail(QStringLiteral("kill %1: temporary files of earlier kills survived a start: ")
                     .arg(k) +
                 left.join(QLatin1Char(' ')));
        std::string outcome = whileWriting ? "killed while a save wrote: " : "killed anywhere: ";
        outcome += *found == run.lastSaved + 1
                       ? "the new save, completed but not yet reported"
                       : (run.lastSaved > run.loaded ? "the last save it reported"
                                                     : "the save it started from");
        if (!left.isEmpty())
            outcome += ", temporary file left";
        ++tally[outcome];
        onDisk = *found;
    }
    const qint64 ms = clock.elapsed();

    // A start and a save without a kill leave no temporary file behind.
    QProcess last;
    last.start(saver, arguments({QStringLiteral("1")}));
    if (!last.waitForFinished(60000) || last.exitCode() != 0)
        fail(QStringLiteral("the last save did not complete"));
    if (!CrashNotes::leftovers(path).isEmpty())
        fail(QStringLiteral("a temporary file survived a start and a complete save"));
    if (savedGeneration(&problem) != onDisk + 1)
        fail(QStringLiteral("the last save is not in the file: ") + problem);
    printTally(title, tally, ms);
}
