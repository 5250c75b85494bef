#include "platform/system/DurableFile.h"

#include "platform/system/ErrorReason.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(int code) {
    return ErrorReason::text(code);
}

bool fail(QString* error, const QString& text) {
    if (error)
        *error = text;
    return false;
}

bool writeAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

// Makes a completed rename in folder durable. File systems that cannot sync a folder
// (EINVAL) have nothing to do here.
bool syncFolder(const QByteArray& folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return ok;
}

// The file a path stands for: a symbolic link (a notes file kept in a synced folder,
// say) is followed, so the file it names is replaced and the link stays.
QString followLinks(const QString& path) {
    QString resolved = path;
    // As many links as the system itself follows before giving up (ELOOP).
    for (int hop = 0; hop < 40; ++hop) {
        const QFileInfo info(resolved);
        if (!info.isSymLink())
            break;
        resolved = info.symLinkTarget();
    }
    return resolved;
}

} // namespace

bool DurableFile::write(const QString& path, const QByteArray& bytes, QString* error) {
    const QFileInfo target(followLinks(path));
    const QByteArray nativePath = QFile::encodeName(target.absoluteFilePath());
    const QByteArray folder = QFile::encodeName(target.absolutePath());

    mode_t mode = S_IRUSR | S_IWUSR;
    struct stat existing {};
    if (::stat(nativePath.constData(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode))
            return fail(error, systemError(EISDIR));
        mode = existing.st_mode & 07777;
    }

    QByteArray temporary = nativePath + ".tmp-XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(error, systemError(errno));
    const auto abandon = [&](int code) {
        ::close(fd);
        ::unlink(temporary.constData());
        return fail(error, systemError(code));
    };
    if (::fchmod(fd, mode) != 0)
        return abandon(errno);
    if (!writeAll(fd, bytes))
        return abandon(errno);
    // The data must be on the disk before the name points at it: a failed sync means
    // the new content may never get there, so the old file stays.
    if (::fsync(fd) != 0)
        return abandon(errno);
    if (::close(fd) != 0) {
        const int code = errno;
        ::unlink(temporary.constData());
        return fail(error, systemError(code));
    }
    if (::rename(temporary.constData(), nativePath.constData()) != 0) {
        const int code = errno;
        ::unlink(temporary.constData());
        return fail(error, systemError(code));
    }
    if (!syncFolder(folder))
        return fail(error, systemError(errno));
    return true;
}

int DurableFile::removeLeftovers(const QString& path) {
    const QFileInfo target(followLinks(path));

    const QRegularExpression leftover(QStringLiteral("^%1\\.tmp-[A-Za-z0-9]{6}$")
                                          .arg(QRegularExpression::escape(target.fileName())));
    QDir folder = target.absoluteDir();
    int removed = 0;
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (leftover.match(name).hasMatch() && folder.remove(name))
            ++removed;
    }
    return removed;
}
