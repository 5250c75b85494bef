#pragma once

#include <QString>

#include <random>

// Kills of the real tacknote executable, which saves when asked to stop (SIGTERM). The
// data folder is watched (inotify): SIGTERM goes once the program has begun to load its
// notes, and SIGKILL at a random moment after the save has opened the file, or after the
// save has created its temporary file. The file it starts from is written in a loose but
// equivalent form (LF line ends, blanks around "="), so the bytes tell whether the kill
// came before or after the save replaced the file; after every kill the file must be one
// or the other, and the next start must remove a temporary file the kill left.
class ProgramKills {
public:
    static void run(const QString& program, const QString& folder, int kills,
                    std::mt19937_64& random);
};
