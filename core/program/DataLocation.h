#pragma once

#include <QString>

class SystemPaths;

// Where the program and the user's data are. Every folder ends in a separator.
struct DataLocation {
    QString ProgramDir;
    // The files the program only reads and that are the same on every machine: seed notes
    // files, sounds, help, language sets, the browser extension.
    QString SharedDir;
    QString DocumentsDir; // the program folder when the system names no documents folder
    QString LogonUser;
    QString DataDir;   // DocumentsDir + "Tacknote/" + LogonUser + "/data/"
    QString NotesFile; // DataDir + "stickies.tkn"

    // Fixes the paths and creates the three folders down to the data folder, each
    // attempted on its own; a folder that cannot be made shows later as a failed save.
    static DataLocation prepare(const SystemPaths& paths);
    // The same paths, creating nothing (for helper programs that only look).
    static DataLocation locate(const SystemPaths& paths);
    // An installed program lives in <prefix>/lib/tacknote/ and finds its shared files in
    // <prefix>/share/tacknote/; in a build folder they lie beside the executable.
    static QString sharedDirFor(const QString& programDir);

    // When the notes file does not exist yet, copies the seed file for the user's locale
    // there ("default_ptb.tkn" for Brazilian Portuguese, "default_enu.tkn" otherwise).
    // A missing seed leaves no file: the program then starts with no notes.
    void seedNotesFile(int lcid) const;
};
