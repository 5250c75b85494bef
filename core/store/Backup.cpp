#include "core/store/Backup.h"

#include "core/base/TacknoteError.h"
#include "core/store/Rotinas.h"

#include <QCoreApplication>
#include <QFile>

namespace Backup {

QString BackupFileName(const QDateTime& when) {
    return QStringLiteral("sticky-") + when.toString(QStringLiteral("yyyyMMdd_HHmm")) +
           QStringLiteral(".tkn");
}

QString MakeBackup(const QString& notesFile, const QString& folder, const QDateTime& when) {
    const QString target = Rotinas::AddBackslash(folder) + BackupFileName(when);
    QFile source(notesFile);
    if (!source.open(QIODevice::ReadOnly))
        throw TacknoteError(QCoreApplication::translate(
                                "Backup", "Não foi possível fazer a cópia de segurança em %1: o "
                                          "arquivo de notas %2 não pôde ser lido.")
                                .arg(target, notesFile));
    source.close();
    QString reason;
    if (!Rotinas::CopyFileSafely(notesFile, target, &reason))
        throw TacknoteError(QCoreApplication::translate(
                                "Backup", "Não foi possível fazer a cópia de segurança em %1: %2.")
                                .arg(target, reason));
    return target;
}

} // namespace Backup
