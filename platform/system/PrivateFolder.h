#pragma once

#include <QString>

// Folders that only the user running the program may enter.
namespace PrivateFolder {

// Creates every missing folder of path, each readable by its owner only. Returns 0 when
// path is a folder afterwards, else the system error number (errno) of the step that
// failed.
int create(const QString& path);

// Creates path (its parent must exist) when it is missing, then checks it: a folder, not
// a symbolic link, owned by this user; one that other users may enter is closed to them.
// False when path is not such a folder; it is then left as it was.
bool ensure(const QString& path);

// The folder for the program's local socket: the desktop's runtime folder of the user
// ($XDG_RUNTIME_DIR) when there is one, else "tacknote-<uid>" in the system's temporary
// folder, made and checked by ensure(). Empty when neither can be used: a name in a
// folder other users can write would let them take it first.
QString runtimeFolder();

} // namespace PrivateFolder
