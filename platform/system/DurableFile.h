#pragma once

#include <QByteArray>
#include <QString>

// Writes whole files so that a crash, a kill or a power cut at any moment leaves either
// the old file or the complete new one, never a mixture and never an empty file.
//
// The new content goes to a temporary file in the same folder ("<name>.tmp-XXXXXX"),
// is synced to disk and checked, and is renamed over the target; the folder is then
// synced so the rename itself survives a power cut. An existing target keeps its
// permissions; a new one is readable and writable by its owner only. A target that is a
// symbolic link is followed: the file it names is replaced, and the link stays.

class DurableFile {
public:
    // Replaces path with bytes. False on failure, with the reason in the interface
    // language in *error (when given) and the old file left as it was.
    static bool write(const QString& path, const QByteArray& bytes, QString* error = nullptr);

    // Removes what an interrupted write of path may have left beside it: the temporary
    // copies "<name>.tmp-XXXXXX". Only for a file no other process writes at the same
    // time. Returns how many files were removed.
    static int removeLeftovers(const QString& path);
};
