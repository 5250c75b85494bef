#include "core/program/DataLocation.h"

#include "core/store/Rotinas.h"
#include "platform/LocaleInfo.h"
#include "platform/SystemPaths.h"

#include <QDir>
#include <QFileInfo>

QString DataLocation::sharedDirFor(const QString& programDir) {
    const QString installed = QDir::cleanPath(programDir + QStringLiteral("/../../share/tacknote"));
    return Rotinas::AddBackslash(QFileInfo(installed).isDir() ? installed : programDir);
}

DataLocation DataLocation::locate(const SystemPaths& paths) {
    using Rotinas::AddBackslash;
    const QString sep = Rotinas::pathSeparator();
    DataLocation location;
    location.ProgramDir = AddBackslash(paths.programDir());
    location.SharedDir = sharedDirFor(paths.programDir());
    const QString documents = paths.documentsDir();
    location.DocumentsDir = documents.isEmpty() ? location.ProgramDir : AddBackslash(documents);
    location.LogonUser = paths.logonUser();
    location.DataDir = location.DocumentsDir + QStringLiteral("Tacknote") + sep +
                       location.LogonUser + sep + QStringLiteral("data") + sep;
    location.NotesFile = location.DataDir + QStringLiteral("stickies.tkn");
    return location;
}

DataLocation DataLocation::prepare(const SystemPaths& paths) {
    const DataLocation location = locate(paths);
    const QString sep = Rotinas::pathSeparator();
    const QString base = location.DocumentsDir + QStringLiteral("Tacknote") + sep;
    Rotinas::CreatePrivateDir(base);
    Rotinas::CreatePrivateDir(base + location.LogonUser);
    Rotinas::CreatePrivateDir(location.DataDir);
    return location;
}

void DataLocation::seedNotesFile(int lcid) const {
    const QFileInfo notes(NotesFile);
    if (notes.exists() || notes.isSymLink())
        return;
    const QString seed = lcid == LocaleInfo::LcidPortugueseBrazil
                             ? QStringLiteral("default_ptb.tkn")
                             : QStringLiteral("default_enu.tkn");
    Rotinas::CopyFileSafely(SharedDir + seed, NotesFile);
}
