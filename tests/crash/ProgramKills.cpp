#include "tests/crash/ProgramKills.h"

#include "platform/system/DesktopSystemPaths.h"
#include "tests/crash/CrashNotes.h"
#include "tests/crash/FolderWatch.h"
#include "tests/crash/HarnessSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <sys/inotify.h>

namespace {

// The notes file written loosely: LF line ends and blanks around "=". It reads exactly as
// the strict form does.
QByteArray looseForm(const QByteArray& strict) {
    QList<QByteArray> lines = strict.split('\n');
    for (QByteArray& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        const qsizetype equals = line.indexOf('=');
        if (!line.startsWith('[') && equals > 0)
            line = line.left(equals) + " = " + line.mid(equals + 1);
    }
    return lines.join('\n');
}

struct ProgramSetup {
    QString program;
    QString notesFile;
    QProcessEnvironment environment;
    SettingsStore::Context context;
    QByteArray before; // the file each run starts from
    QByteArray after;  // what the program's save makes of it
};

// Times, in microseconds from the save's opening of the notes file, of what one save does.
struct SaveTimes {
    qint64 created = 0; // its temporary file is created
    qint64 renamed = 0; // the temporary file has replaced the notes file
    qint64 ended = 0;   // the program has ended
};

enum class KillAt { None, AfterOpen, AfterCreate };

struct ProgramRun {
    bool saved = false; // the save opened the file before the program ended
    SaveTimes times;
};

// Starts the program on the starting file, asks it to stop once it is loading its notes,
// and kills it (or not) at the given moment of the save.
ProgramRun runProgram(const ProgramSetup& setup, KillAt killAt, qint64 delayUs, int loadOpen) {
    ProgramRun run;
    writeAll(setup.notesFile, setup.before);
    FolderWatch watch(QFileInfo(setup.notesFile).path());
    const QString name = QFileInfo(setup.notesFile).fileName();

    QProcess process;
    process.setProcessEnvironment(setup.environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(setup.program, {});
    if (!process.waitForStarted(30000))
        fail(QStringLiteral("the program did not start"));
    const pid_t pid = pid_t(process.processId());

    int opens = 0;
    bool stopAsked = false;
    QElapsedTimer sinceOpen;
    QElapsedTimer waited;
    waited.start();
    while (process.state() != QProcess::NotRunning) {
        if (waited.elapsed() > 60000)
            fail(QStringLiteral("the program neither saved nor ended within a minute"));
        const std::optional<FolderWatch::Event> event = watch.next(20);
        if (!event) {
            process.waitForFinished(0);
            continue;
        }
        if ((event->mask & IN_OPEN) && event->name == name) {
            ++opens;
            if (opens == loadOpen && !stopAsked) {
                // The load has begun: the program saves once it has loaded every note.
                ::kill(pid, SIGTERM);
                stopAsked = true;
            } else if (opens == loadOpen + 1 && stopAsked && !run.saved) {
                run.saved = true;
                sinceOpen.start();
                if (killAt == KillAt::AfterOpen) {
                    sleepMicroseconds(delayUs);
                    ::kill(pid, SIGKILL);
                    break;
                }
            }
        } else if (run.saved && event->createsTemporaryOf(name)) {
            run.times.created = sinceOpen.nsecsElapsed() / 1000;
            if (killAt == KillAt::AfterCreate) {
                sleepMicroseconds(delayUs);
                ::kill(pid, SIGKILL);
                break;
            }
        } else if (run.saved && event->replaces(name)) {
            run.times.renamed = sinceOpen.nsecsElapsed() / 1000;
        }
    }
    process.waitForFinished(30000);
    if (run.saved)
        run.times.ended = sinceOpen.nsecsElapsed() / 1000;
    if (killAt == KillAt::None && run.saved &&
        (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0))
        fail(QStringLiteral("the program failed to stop: ") +
             QString::fromLocal8Bit(process.readAll()));
    return run;
}

// Opens of the notes file from the program's start to the beginning of its load (the
// last of them is the load's): the program is left to load all its notes, then asked to
// stop, which saves them.
int opensUntilLoad(const ProgramSetup& setup) {
    writeAll(setup.notesFile, setup.before);
    FolderWatch watch(QFileInfo(setup.notesFile).path());
    QProcess process;
    process.setProcessEnvironment(setup.environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(setup.program, {});
    if (!process.waitForStarted(30000))
        fail(QStringLiteral("the program did not start"));
    int opens = 0;
    QElapsedTimer quiet;
    quiet.start();
    // Loading 101 notes takes well under these five quiet seconds.
    while (quiet.elapsed() < 5000) {
        const std::optional<FolderWatch::Event> event = watch.next(100);
        if (event && (event->mask & IN_OPEN) &&
            event->name == QFileInfo(setup.notesFile).fileName()) {
            ++opens;
            quiet.restart();
        }
    }
    ::kill(pid_t(process.processId()), SIGTERM);
    process.waitForFinished(30000);
    return opens;
}

} // namespace

void ProgramKills::run(const QString& program, const QString& folder, int kills,
                       std::mt19937_64& random) {
    ProgramSetup setup;
    setup.program = program;
    const QString home = folder + QStringLiteral("/home");
    for (const char* sub : {"/Documents", "/run", "/.config", "/.local/share"})
        QDir().mkpath(home + QLatin1String(sub));
    QFile::setPermissions(home + QStringLiteral("/run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString user = DesktopSystemPaths().logonUser();
    const QString data = home + QStringLiteral("/Documents/Tacknote/%1/data").arg(user);
    QDir().mkpath(data);
    setup.notesFile = data + QStringLiteral("/stickies.tkn");
    setup.context = {QFileInfo(program).path() + QLatin1Char('/'), user};
    setup.environment = QProcessEnvironment::systemEnvironment();
    setup.environment.insert(QStringLiteral("HOME"), home);
    setup.environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    setup.environment.insert(QStringLiteral("XDG_DATA_HOME"),
                             home + QStringLiteral("/.local/share"));
    setup.environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/run"));
    setup.environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    setup.environment.insert(QStringLiteral("LANG"), QStringLiteral("pt_BR.UTF-8"));
    setup.environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("pt_BR.UTF-8"));

    // The starting file: the notes of save 7, written loosely.
    const QString strict = folder + QStringLiteral("/strict.tkn");
    NotesFile(strict, CrashNotes::locale(), setup.context)
        .save(CrashNotes::settings(setup.context), CrashNotes::network(), true,
              CrashNotes::records(7));
    setup.before = looseForm(readAll(strict));
    QString problem;
    writeAll(setup.notesFile, setup.before);
    if (CrashNotes::savedGeneration(setup.notesFile, setup.context, &problem) != 7)
        fail(QStringLiteral("the starting file does not read back: ") + problem);

    const int opens = opensUntilLoad(setup);
    setup.after = readAll(setup.notesFile);
    if (setup.after == setup.before ||
        CrashNotes::savedGeneration(setup.notesFile, setup.context, &problem) != 7)
        fail(QStringLiteral("the program's save did not rewrite the notes: ") + problem);
    if (opens < 1)
        fail(QStringLiteral("the program never opened its notes file"));

    // A save without a kill: how long its steps take.
    const ProgramRun timing = runProgram(setup, KillAt::None, 0, opens);
    if (!timing.saved || readAll(setup.notesFile) != setup.after)
        fail(QStringLiteral("a stop did not save the notes as before"));
    const SaveTimes t = timing.times;
    std::printf("program: a save of 101 notes opens the file, creates its temporary file "
                "after %.1f ms, replaces the file after %.1f ms; the program ends after %.1f ms\n",
                double(t.created) / 1000, double(t.renamed) / 1000, double(t.ended) / 1000);

    Tally tally;
    QElapsedTimer clock;
    clock.start();
    QString leftover; // left by the kill before
    int unsaved = 0;
    for (int k = 0; k < kills;) {
        const bool atCreate = std::uniform_int_distribution<int>(0, 1)(random) == 1;
        const qint64 window =
            atCreate ? std::max<qint64>(2 * (t.renamed - t.created), 2000) : t.ended * 5 / 4;
        const qint64 delay = std::uniform_int_distribution<qint64>(0, window)(random);
        const ProgramRun run =
            runProgram(setup, atCreate ? KillAt::AfterCreate : KillAt::AfterOpen, delay, opens);
        if (!run.saved) {
            // Asked to stop before it had begun to load: it ends without a save. Not a kill
            // during a save; the file must still be the one it started from.
            if (readAll(setup.notesFile) != setup.before)
                fail(QStringLiteral("a program that did not save changed the file"));
            if (++unsaved > kills)
                fail(QStringLiteral("the program keeps ending without a save"));
            continue;
        }
        const QByteArray bytes = readAll(setup.notesFile);
        if (bytes != setup.before && bytes != setup.after)
            fail(QStringLiteral("kill %1: the file is neither the one before nor the one after "
                                "the save (%2 bytes)")
                     .arg(k)
                     .arg(bytes.size()));
        if (CrashNotes::savedGeneration(setup.notesFile, setup.context, &problem) != 7)
            fail(QStringLiteral("kill %1: the notes file does not hold every note: ").arg(k) +
                 problem);
        const QStringList left = CrashNotes::leftovers(setup.notesFile);
        if (!leftover.isEmpty() && left.contains(leftover))
            fail(QStringLiteral("kill %1: the start did not remove %2").arg(k).arg(leftover));
        if (left.size() > 1)
            fail(QStringLiteral("kill %1: several temporary files: ").arg(k) +
                 left.join(QLatin1Char(' ')));
        leftover = left.value(0);
        std::string outcome = std::string(atCreate ? "after the temporary file was created: "
                                                   : "after the save opened the file: ") +
                              (bytes == setup.after ? "the new file" : "the old file");
        if (!left.isEmpty())
            outcome += ", temporary file left";
        ++tally[outcome];
        ++k;
    }
    const qint64 ms = clock.elapsed();

    // One more start: it removes the last kill's temporary file, and a save without a kill
    // leaves none.
    const ProgramRun last = runProgram(setup, KillAt::None, 0, opens);
    if (!last.saved || !CrashNotes::leftovers(setup.notesFile).isEmpty() ||
        readAll(setup.notesFile) != setup.after)
        fail(QStringLiteral("a start and a complete save left a temporary file or other notes"));
    printTally("program", tally, ms);
}
