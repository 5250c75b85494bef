#pragma once

#include <QDateTime>
#include <QString>

// Dated copies of the notes file.
namespace Backup {

// "sticky-" + the minute of when as yyyymmdd_hhnn (24-hour clock) + ".tkn", for
// example "sticky-20021225_1430.tkn". Backups made within one minute share the name.
QString BackupFileName(const QDateTime& when);

// Copies the notes file byte for byte into folder (a missing trailing separator is
// added; an empty folder is the root folder) under the backup file name of when,
// replacing a backup of that name. The copy is crash-safe: a failed copy leaves no
// partial file and any earlier backup of that name as it was. Returns the backup's
// full path; throws TacknoteError, naming the file that could not be read or
// written, when the copy fails.
QString MakeBackup(const QString& notesFile, const QString& folder, const QDateTime& when);

} // namespace Backup
