#include "platform/system/SingleInstance.h"

#include "platform/system/PrivateFolder.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QSysInfo>
#include <QThread>
#include <QTimer>
#include <algorithm>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Connections that have not finished their line within this time are dropped.
constexpr int IdleConnectionMs = 5000;
// One attempt to reach the socket, and the longest wait for the answer to a message.
constexpr int ConnectAttemptMs = 1000;
constexpr int AnswerMs = 5000;
// The running copy's answer to each message it took.
const QByteArray Taken = QByteArrayLiteral("ok\n");

enum class Held { Yes, No, Unknown };

// Whether a process holds the lock on path, as the lock's owner does while it lives.
Held lockHeld(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? Held::No : Held::Unknown;
    const int locked = ::flock(fd, LOCK_SH | LOCK_NB);
    const int code = errno;
    ::close(fd);
    if (locked == 0)
        return Held::No;
    return code == EWOULDBLOCK ? Held::Yes : Held::Unknown;
}

// Removes a lock file nobody holds; 0, or the system error number.
int removeDeadLock(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? 0 : errno;
    // Holding it meanwhile keeps a copy that starts right now from losing its new lock.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        return EWOULDBLOCK;
    }
    // Another start may have removed the file and made a new lock of its own since it
    // was opened: only the very file held here is removed.
    struct stat held {};
    struct stat named {};
    if (::fstat(fd, &held) != 0 || ::stat(path.constData(), &named) != 0 ||
        held.st_dev != named.st_dev || held.st_ino != named.st_ino) {
        ::close(fd);
        return EWOULDBLOCK;
    }
    const int result = ::unlink(path.constData()) == 0 || errno == ENOENT ? 0 : errno;
    ::close(fd);
    return result;
}

// Why a lock file cannot be made at path: the same steps as the lock's, with a probe.
int probeLockFile(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno;
    const QByteArray content = QByteArray::number(qint64(::getpid())) + '\n';
    int code = 0;
    if (::write(fd, content.constData(), size_t(content.size())) != content.size() ||
        ::fsync(fd) != 0)
        code = errno ? errno : EIO;
    ::close(fd);
    ::unlink(path.constData());
    return code ? code : EIO;
}

} // namespace

SingleInstance::SingleInstance(const QString& dataDir, const QString& user, QObject* parent)
    : QObject(parent), m_dataDir(dataDir),
      m_lockPath(QDir(dataDir).filePath(QStringLiteral("stickies.tkn.lock"))),
      m_serverName(serverName(dataDir, user)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName(const QString& dataDir, const QString& user) {
    const QByteArray folder =
        QCryptographicHash::hash(QDir(dataDir).absolutePath().toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(12);
    QString safeUser;
    for (const QChar c : user)
        safeUser += (c.isLetterOrNumber() && c.unicode() < 0x80) ? c : QLatin1Char('_');
    const QString name = QStringLiteral("TacknoteMsg-%1-%2").arg(safeUser, QLatin1String(folder));
    // Never in a folder where another user could take the name first.
    const QString runtime = PrivateFolder::runtimeFolder();
    return runtime.isEmpty() ? QString() : QDir(runtime).filePath(name);
}

bool SingleInstance::claim() {
    m_failure = 0;
    const QByteArray lockPath = QFile::encodeName(m_lockPath);
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    // A lock left by a copy that ended on this computer is stale at once, whatever its age.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        if (m_lock->error() != QLockFile::LockFailedError) {
            m_failure = probeLockFile(lockPath);
            return false;
        }
        if (holderAlive())
            return false;
        // Empty, damaged, or written on another computer, and nobody behind it.
        qWarning("Tacknote: the lock %s belongs to no running copy; it is taken over.",
                 qPrintable(m_lockPath));
        const int removed = removeDeadLock(lockPath);
        if (removed == EWOULDBLOCK)
            return false; // another start took it in the meantime
        if (removed != 0) {
            m_failure = removed;
            return false;
        }
        if (!m_lock->tryLock(0)) {
            if (m_lock->error() == QLockFile::LockFailedError)
                return false;
            m_failure = probeLockFile(lockPath);
            return false;
        }
    }
    listen();
    return true;
}

bool SingleInstance::holderAlive() const {
    if (!m_serverName.isEmpty()) {
        QLocalSocket probe;
        probe.connectToServer(m_serverName);
        if (probe.waitForConnected(1000)) {
            probe.abort();
            return true;
        }
    }
    switch (lockHeld(QFile::encodeName(m_lockPath))) {
    case Held::Yes:
        return true;
    case Held::No:
        return false;
    case Held::Unknown:
        break;
    }
    // A file system without locks: a process of that number on this computer.
    qint64 pid = 0;
    QString host;
    QString application;
    if (!m_lock->getLockInfo(&pid, &host, &application) || pid <= 0 ||
        host != QSysInfo::machineHostName())
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

void SingleInstance::listen() {
    if (m_serverName.isEmpty()) {
        qWarning("Tacknote: no private folder for the local socket; later starts and the "
                 "browser capture cannot reach this copy.");
        return;
    }
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left by a crashed copy is in the way; the lock says nobody uses it.
    QLocalServer::removeServer(m_serverName);
    if (m_server->listen(m_serverName))
        connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::accept);
    else
        qWarning("Tacknote: cannot listen on %s: %s", qPrintable(m_serverName),
                 qPrintable(m_server->errorString()));
}

void SingleInstance::close() {
    if (m_server)
        m_server->close();
}

void SingleInstance::accept() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto* idle = new QTimer(socket);
        idle->setSingleShot(true);
        connect(idle, &QTimer::timeout, socket, &QLocalSocket::abort);
        idle->start(IdleConnectionMs);
        readFrom(socket);
    }
}

void SingleInstance::readFrom(QLocalSocket* socket) {
    // A receiver may run the event loop, in which this connection can end and be deleted.
    const QPointer<QLocalSocket> alive(socket);
    while (alive && socket->canReadLine()) {
        QByteArray line = socket->readLine(MaxMessage + 2);
        if (!line.endsWith('\n')) {
            // Longer than any message: not a peer of ours.
            socket->abort();
            return;
        }
        line.chop(1);
        if (!m_server || !m_server->isListening())
            return; // closing: nobody takes it any more
        Q_EMIT messageReceived(line);
        if (alive) {
            socket->write(Taken);
            // Out now: the message may end the program before the event loop runs again.
            socket->flush();
        }
    }
    if (alive && socket->bytesAvailable() > MaxMessage)
        socket->abort();
}

bool SingleInstance::send(const QString& serverName, const QByteArray& message, int timeoutMs) {
    if (serverName.isEmpty() || message.size() > MaxMessage || message.contains('\n'))
        return false;
    const QDeadlineTimer connecting(timeoutMs);
    // The running copy may be starting and not listen yet; one attempt at least.
    for (bool first = true; first || !connecting.hasExpired(); first = false) {
        QLocalSocket socket;
        socket.connectToServer(serverName);
        if (!socket.waitForConnected(ConnectAttemptMs)) {
            if (!connecting.hasExpired())
                QThread::msleep(100);
            continue;
        }
        // A copy that listens answers at once, also while a box of its own is open.
        const QDeadlineTimer answering(AnswerMs);
        const auto left = [&answering] {
            return int(std::max<qint64>(1, answering.remainingTime()));
        };
        socket.write(message + '\n');
        while (socket.bytesToWrite() > 0 && !answering.hasExpired() &&
               socket.state() == QLocalSocket::ConnectedState)
            socket.waitForBytesWritten(left());
        // Taken only when the program says so.
        while (!socket.canReadLine() && !answering.hasExpired() &&
               socket.state() == QLocalSocket::ConnectedState)
            socket.waitForReadyRead(left());
        const bool taken = socket.canReadLine() && socket.readLine(64) == Taken;
        socket.disconnectFromServer();
        if (socket.state() != QLocalSocket::UnconnectedState)
            socket.waitForDisconnected(1000);
        return taken;
    }
    return false;
}
