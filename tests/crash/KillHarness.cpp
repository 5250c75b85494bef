// Kills programs with SIGKILL in the middle of saving 101 full notes, a few hundred
// times, and checks after every kill that the notes file parses and holds every note as
// of either the save before or the save that was killed, and that a temporary file left
// by a kill is gone after the next start.
//
//   tacknote_kill_harness [--kills N] [--deleted-kills D] [--program-kills M] [--seed S]
//
// Three kinds of run: N kills of tacknote_crash_saver, a small program that saves through
// the program's own notes-file code (SaverKills), D kills of it saving the deleted-notes
// file (half of N unless given), and M kills of the real tacknote executable, made to
// save by SIGTERM (ProgramKills).
//
// Prints what happened and exits with 1 at the first broken rule.

#include "tests/crash/HarnessSupport.h"
#include "tests/crash/ProgramKills.h"
#include "tests/crash/SaverKills.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <random>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int kills = 300;
    int programKills = 30;
    int deletedKills = -1;
    quint64 seed = quint64(std::chrono::steady_clock::now().time_since_epoch().count());
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--kills"))
            kills = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--deleted-kills"))
            deletedKills = args[i + 1].toInt();
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
    if (deletedKills < 0)
        deletedKills = kills / 2;
    if (kills > 0)
        SaverKills::run(QStringLiteral(TACKNOTE_CRASH_SAVER),
                        work.filePath(QStringLiteral("saver")), kills, SaverKills::File::Notes,
                        random);
    if (deletedKills > 0)
        SaverKills::run(QStringLiteral(TACKNOTE_CRASH_SAVER),
                        work.filePath(QStringLiteral("deleted")), deletedKills,
                        SaverKills::File::DeletedNotes, random);
    if (programKills > 0)
        ProgramKills::run(QStringLiteral(TACKNOTE_EXECUTABLE), work.path(), programKills, random);
    std::printf("kill harness: every file held one whole save\n");
    return 0;
}
