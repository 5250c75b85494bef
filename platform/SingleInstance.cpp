#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <algorithm>

namespace {

// Connections that have not finished their line within this time are dropped.
constexpr int IdleConnectionMs = 5000;

} // namespace

SingleInstance::SingleInstance(const QString& dataDir, const QString& user, QObject* parent)
    : QObject(parent), m_dataDir(dataDir), m_serverName(serverName(dataDir, user)) {}

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
    // In the user's own runtime folder where the desktop provides one.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return QDir(runtime).filePath(name);
    return name;
}

bool SingleInstance::claim() {
    m_lock =
        std::make_unique<QLockFile>(QDir(m_dataDir).filePath(QStringLiteral("stickies.tkn.lock")));
    // Only a running process holds the lock: a lock left by a crashed copy is stale at
    // once, whatever its age.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0))
        return false;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left by a crashed copy is in the way; the lock says nobody uses it.
    QLocalServer::removeServer(m_serverName);
    if (m_server->listen(m_serverName))
        connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::accept);
    else
        qWarning("Tacknote: cannot listen on %s: %s", qPrintable(m_serverName),
                 qPrintable(m_server->errorString()));
    return true;
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
        QByteArray line = socket->readLine(MaxMessage + 1);
        if (!line.endsWith('\n')) {
            // Longer than any message: not a peer of ours.
            socket->abort();
            return;
        }
        line.chop(1);
        Q_EMIT messageReceived(line);
    }
    if (alive && socket->bytesAvailable() > MaxMessage)
        socket->abort();
}

bool SingleInstance::send(const QString& serverName, const QByteArray& message, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    // The running copy may be starting and not listen yet.
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(serverName);
        if (socket.waitForConnected(int(std::max<qint64>(1, deadline.remainingTime())))) {
            socket.write(message.left(MaxMessage) + '\n');
            while (socket.bytesToWrite() > 0 && !deadline.hasExpired() &&
                   socket.state() == QLocalSocket::ConnectedState)
                socket.waitForBytesWritten(int(std::max<qint64>(1, deadline.remainingTime())));
            const bool sent = socket.bytesToWrite() == 0;
            socket.disconnectFromServer();
            if (socket.state() != QLocalSocket::UnconnectedState)
                socket.waitForDisconnected(1000);
            return sent;
        }
        QThread::msleep(100);
    }
    return false;
}
