#include "platform/system/PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PrivateFolder {

int create(const QString& path) {
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QStringList parts = absolute.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current;
    for (const QString& part : parts) {
        current += QLatin1Char('/') + part;
        const QByteArray native = QFile::encodeName(current);
        if (::mkdir(native.constData(), S_IRWXU) == 0 || errno == EEXIST) {
            struct stat info {};
            if (::stat(native.constData(), &info) != 0)
                return errno;
            if (!S_ISDIR(info.st_mode))
                return ENOTDIR;
            continue;
        }
        return errno;
    }
    return 0;
}

bool ensure(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), S_IRWXU) != 0 && errno != EEXIST)
        return false;
    // Opened without following a link: a link is refused wherever it points, and the
    // checks below are about the folder itself, whatever happens to the name meanwhile.
    const int fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid();
    // A folder of this user's own that others may enter is closed to them.
    if (ok && (info.st_mode & 077) != 0)
        ok = ::fchmod(fd, S_IRWXU) == 0;
    ::close(fd);
    return ok;
}

// A folder of this user's own, not a link, that nobody else may enter.
bool isPrivate(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    const bool ok = ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
                    (info.st_mode & 077) == 0;
    ::close(fd);
    return ok;
}

QString runtimeFolder() {
    // The session's runtime folder, unless it is not this user's private one (a
    // variable set to /tmp, say).
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivate(runtime))
        return QDir(runtime).absolutePath();
    const QString own =
        QDir(QDir::tempPath()).filePath(QStringLiteral("tacknote-%1").arg(::getuid()));
    return ensure(own) ? own : QString();
}

} // namespace PrivateFolder
