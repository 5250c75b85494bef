#pragma once

#include <QString>

// Small helpers shared by the whole program.
namespace Rotinas {

// The folder separator of this system.
QChar pathSeparator();

// The path with one trailing separator: unchanged when it already ends in one; an
// empty path becomes the separator alone.
QString AddBackslash(const QString& path);

// Copies a file crash-safely (DurableFile), so the target is never half written. A new
// target gets read and write permission for its owner only. False on failure, with any
// old target left as it was.
bool CopyFileSafely(const QString& from, const QString& to);

// Creates a folder readable only by its owner; an existing folder is left as it is.
bool CreatePrivateDir(const QString& path);

} // namespace Rotinas
