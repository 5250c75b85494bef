#include "core/store/Rotinas.h"

#include "platform/system/DurableFile.h"

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

bool CopyFileSafely(const QString& from, const QString& to, QString* error) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        if (error)
            *error = source.errorString();
        return false;
    }
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError) {
        if (error)
            *error = source.errorString();
        return false;
    }
    return DurableFile::write(to, bytes, error);
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

int SplitFields(QStringView source, QStringView delimiters, bool keepEmpty, QStringList& output) {
    constexpr qsizetype MaxSource = 255;
    output.clear();
    const QStringView text = source.left(MaxSource);
    if (text.isEmpty() || delimiters.isEmpty())
        return 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!delimiters.contains(text[i]))
            continue;
        if (i > start || keepEmpty)
            output.append(text.mid(start, i - start).toString());
        start = i + 1;
    }
    // What follows the last delimiter: an open field, or an empty one after a final
    // delimiter.
    if (start < text.size() || keepEmpty)
        output.append(text.mid(start).toString());
    return int(output.size());
}

} // namespace Rotinas
