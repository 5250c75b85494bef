#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Small helpers shared by the whole program.
namespace Rotinas {

// The folder separator of this system.
QChar pathSeparator();

// The path with one trailing separator: unchanged when it already ends in one; an
// empty path becomes the separator alone.
QString AddBackslash(const QString& path);

// Copies a file crash-safely (DurableFile), so the target is never half written. A new
// target gets read and write permission for its owner only. False on failure, with any
// old target left as it was and the reason in *error (when given).
bool CopyFileSafely(const QString& from, const QString& to, QString* error = nullptr);

// Creates a folder readable only by its owner; an existing folder is left as it is.
bool CreatePrivateDir(const QString& path);

// Splits the first 255 characters of source into fields at any character of delimiters
// and returns the number of fields; output is cleared first. Fields are kept as they
// are, blanks included. An empty field (between two delimiters, before the first one,
// or after a final one) is kept only when keepEmpty is set: with ',' as delimiter,
// "a,,b," gives "a" and "b", or with keepEmpty "a", "", "b" and "". An empty source or
// an empty delimiter set gives no field.
int SplitFields(QStringView source, QStringView delimiters, bool keepEmpty, QStringList& output);

} // namespace Rotinas
