#include "store/Rotinas.h"

#include "platform/DurableFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Rotinas {

QChar pathSeparator() {
    return QDir::separator();
}

QString AddBackslash(const QString& path) {
    if (path.endsWith(pathSeparator()))
        return path;
    return path + pathSeparator();
}

bool CopyFileSafely(const QString& from, const QString& to) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return false;
    return DurableFile::write(to, bytes);
}

bool CreatePrivateDir(const QString& path) {
    QDir dir(path);
    if (dir.exists())
        return true;
    return dir.mkpath(QStringLiteral(".")) &&
           QFile::setPermissions(dir.absolutePath(), QFileDevice::ReadOwner |
                                                         QFileDevice::WriteOwner |
                                                         QFileDevice::ExeOwner);
}

} // namespace Rotinas
