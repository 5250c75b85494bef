#include "store/Rotinas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    const bool existed = QFileInfo::exists(to);
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly))
        return false;
    if (!existed && !target.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return false;
    char buffer[64 * 1024];
    for (;;) {
        const qint64 got = source.read(buffer, sizeof buffer);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        if (target.write(buffer, got) != got)
            return false;
    }
    // Flushed and checked first: QSaveFile would rename a copy whose last buffer
    // could not be written.
    return target.flush() && target.error() == QFileDevice::NoError && target.commit();
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
