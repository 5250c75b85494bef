#pragma once

#include <QString>

#include <random>

// Kills of tacknote_crash_saver, which saves the notes file through the program's own
// NotesFile and IniFile code over and over, each save a new generation of the notes, or
// the deleted-notes file through DeletedNotes, each save one more deleted note. Each run
// is killed at a random moment within a few saves of its start (half of them while a
// save writes), and after every kill the file must hold the last save the saver reported
// or the one after it, with at most the temporary file of that kill beside it.
class SaverKills {
public:
    enum class File { Notes, DeletedNotes };

    static void run(const QString& saver, const QString& folder, int kills, File kind,
                    std::mt19937_64& random);
};
