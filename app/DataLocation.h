#pragma once

#include <QString>

class SystemPaths;

// Where the program and the user's data are. Every folder ends in a separator.
struct DataLocation {
    QString ProgramDir;
    QString DocumentsDir; // the program folder when the system names no documents folder
    QString LogonUser;
    QString DataDir;   // DocumentsDir + "Tacknote/" + LogonUser + "/data/"
    QString NotesFile; // DataDir + "stickies.tkn"

    // Fixes the paths and creates the three folders down to the data folder, each
    // attempted on its own; a folder that cannot be made shows later as a failed save.
    static DataLocation prepare(const SystemPaths& paths);
    // The same paths, creating nothing (for helper programs that only look).
    static DataLocation locate(const SystemPaths& paths);

    // When the notes file does not exist yet, copies the seed file for the user's locale
    // there ("default_ptb.tkn" for Brazilian Portuguese, "default_enu.tkn" otherwise).
    // A missing seed leaves no file: the program then starts with no notes.
    void seedNotesFile(int lcid) const;
};
