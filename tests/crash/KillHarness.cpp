// Kills programs with SIGKILL in the middle of saving 101 full notes, a few hundred
// times, and checks after every kill that the notes file parses and holds every note as
// of either the save before or the save that was killed, and that a temporary file left
// by a kill is gone after the next start.
//
//   tacknote_kill_harness [--kills N] [--program-kills M] [--seed S]
//
// Two kinds of run:
// - N kills of tacknote_crash_saver, which saves the notes file through the program's
//   own NotesFile and IniFile code over and over, each save a new generation of the
//   notes; it is killed at a random moment within a few saves of its start.
// - M kills of the real tacknote executable. It saves when asked to stop (SIGTERM): the
//   harness watches the data folder (inotify), sends SIGTERM once the program has begun
//   to load its notes, and kills it at a random moment after the save has opened the
//   file, or after the save has created its temporary file. The file it starts from is
//   written in a loose but equivalent form (LF line ends, blanks around "="), so the
//   bytes tell whether the kill came before or after the save replaced the file.
//
// Prints what happened and exits with 1 at the first broken rule.

#include "platform/system/DesktopSystemPaths.h"
#include "tests/crash/CrashNotes.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <map>
#include <poll.h>
#include <random>
#include <sys/inotify.h>
#include <thread>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const QString& text) {
    std::fprintf(stderr, "FAILED: %s\n", qPrintable(text));
    std::exit(1);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read ") + path);
    return file.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail(QStringLiteral("cannot write ") + path);
}

void sleepMicroseconds(qint64 us) {
    if (us > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(us));
}

// Outcomes of the kills, by name, for the summary.
using Tally = std::map<std::string, int>;

void printTally(const char* title, const Tally& tally, qint64 ms) {
    int kills = 0;
    for (const auto& [name, count] : tally)
        kills += count;
    std::printf("%s: %d kills in %.1f s\n", title, kills, double(ms) / 1000.0);
    for (const auto& [name, count] : tally)
        std::printf("  %5d  %s\n", count, name.c_str());
    std::fflush(stdout);
}

// Events in a folder, as they happen: opens, creations and renames of its files.
class FolderWatch {
public:
    explicit FolderWatch(const QString& folder) {
        m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (m_fd < 0 || inotify_add_watch(m_fd, QFile::encodeName(folder).constData(),
                                          IN_OPEN | IN_CREATE | IN_MOVED_TO) < 0)
            fail(QStringLiteral("cannot watch ") + folder);
    }
    ~FolderWatch() { ::close(m_fd); }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    struct Event {
        uint32_t mask = 0;
        QString name;
    };

    // The next event, waiting at most timeoutMs; nothing when none came.
    std::optional<Event> next(int timeoutMs) {
        if (m_events.empty()) {
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, timeoutMs) <= 0)
                return std::nullopt;
            alignas(inotify_event) char buffer[8192];
            const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                m_events.push_back(
                    {event->mask, event->len ? QFile::decodeName(event->name) : QString()});
                at += ssize_t(sizeof(inotify_event)) + event->len;
            }
        }
        if (m_events.empty())
            return std::nullopt;
        Event event = m_events.front();
        m_events.erase(m_events.begin());
        return event;
    }

private:
    int m_fd = -1;
    std::vector<Event> m_events;
};

// ---------------------------------------------------------------------------------------
// The saver

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

bool isTemporary(const FolderWatch::Event& event, const QString& name) {
    return (event.mask & IN_CREATE) && event.name.startsWith(name + QStringLiteral(".tmp-"));
}

bool isReplaced(const FolderWatch::Event& event, const QString& name) {
    return (event.mask & IN_MOVED_TO) && event.name == name;
}

void runSaver(const QString& saver, const QString& folder, int kills, std::mt19937_64& random) {
    QDir().mkpath(folder);
    const QString name = QStringLiteral("stickies.tkn");
    const QString path = folder + QLatin1Char('/') + name;
    const SettingsStore::Context context{QStringLiteral("/opt/tacknote/"), QStringLiteral("ana")};
    FolderWatch watch(folder);
    QString problem;

    // Twenty saves without a kill: how long a save takes, and how long it writes (from
    // the creation of its temporary file to the replacement of the notes file).
    QElapsedTimer clock;
    clock.start();
    QProcess first;
    first.start(saver, {path, QStringLiteral("20")});
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
        if (isTemporary(*event, name)) {
            createdAt = clock.nsecsElapsed() / 1000;
        } else if (isReplaced(*event, name) && createdAt >= 0) {
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
    qint64 onDisk = CrashNotes::savedGeneration(path, context, &problem).value_or(-1);
    if (onDisk != 20)
        fail(QStringLiteral("after 20 saves the file holds: ") + problem);
    std::printf("saver: one save of 101 notes takes about %.1f ms, of which %.1f ms writing\n",
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
        process.start(saver, {path});
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
                if (isTemporary(*event, name))
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

        const std::optional<qint64> found = CrashNotes::savedGeneration(path, context, &problem);
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
    last.start(saver, {path, QStringLiteral("1")});
    if (!last.waitForFinished(60000) || last.exitCode() != 0)
        fail(QStringLiteral("the last save did not complete"));
    if (!CrashNotes::leftovers(path).isEmpty())
        fail(QStringLiteral("a temporary file survived a start and a complete save"));
    if (CrashNotes::savedGeneration(path, context, &problem) != onDisk + 1)
        fail(QStringLiteral("the last save is not in the file: ") + problem);
    printTally("saver", tally, ms);
}

// ---------------------------------------------------------------------------------------
// The real program

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
        } else if (run.saved && isTemporary(*event, name)) {
            run.times.created = sinceOpen.nsecsElapsed() / 1000;
            if (killAt == KillAt::AfterCreate) {
                sleepMicroseconds(delayUs);
                ::kill(pid, SIGKILL);
                break;
            }
        } else if (run.saved && isReplaced(*event, name)) {
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

void runProgramKills(const QString& program, const QString& folder, int kills,
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

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int kills = 300;
    int programKills = 30;
    quint64 seed = quint64(std::chrono::steady_clock::now().time_since_epoch().count());
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--kills"))
            kills = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--program-kills"))
            programKills = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--seed"))
            seed = args[i + 1].toULongLong();
        else
            fail(QStringLiteral("unknown option ") + args[i]);
    }
    std::printf("kill harness: seed %llu\n", static_cast<unsigned long long>(seed));
    std::mt19937_64 random(seed);
    QTemporaryDir work;
    if (!work.isValid())
        fail(QStringLiteral("no temporary folder"));
    if (kills > 0)
        runSaver(QStringLiteral(TACKNOTE_CRASH_SAVER), work.filePath(QStringLiteral("saver")),
                 kills, random);
    if (programKills > 0)
        runProgramKills(QStringLiteral(TACKNOTE_EXECUTABLE), work.path(), programKills, random);
    std::printf("kill harness: every file held one whole save\n");
    return 0;
}
