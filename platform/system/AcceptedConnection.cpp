#include "platform/system/AcceptedConnection.h"

#include <QPointer>
#include <QSignalBlocker>
#include <QTcpSocket>
#include <QTimer>

AcceptedConnection::AcceptedConnection(QObject* parent)
    : QObject(parent), m_socket(new QTcpSocket(this)), m_closeTimer(new QTimer(this)),
      m_continueTimer(new QTimer(this)) {
    m_closeTimer->setSingleShot(true);
    m_closeTimer->setInterval(CloseWaitMs);
    connect(m_closeTimer, &QTimer::timeout, this, &AcceptedConnection::abort);
    m_continueTimer->setSingleShot(true);
    m_continueTimer->setInterval(0);
    connect(m_continueTimer, &QTimer::timeout, this, [this] { process(LinesPerEvent); });
}

AcceptedConnection::~AcceptedConnection() {
    const QSignalBlocker blocker(m_socket);
    m_socket->abort();
}

void AcceptedConnection::attach(QTcpSocket* socket) {
    delete m_socket;
    m_socket = socket;
    m_socket->setParent(this);
    m_socket->setReadBufferSize(ReadChunk);
    connect(m_socket, &QTcpSocket::readyRead, this, &AcceptedConnection::readAvailable);
    connect(m_socket, &QTcpSocket::disconnected, this, &AcceptedConnection::onDisconnected);
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this] {
        // Some failures end the connection without a disconnection being announced.
        if (m_socket->state() == QAbstractSocket::UnconnectedState)
            onDisconnected();
    });
    m_peerAddr = m_socket->peerAddress().toString();
    m_peerPort = QString::number(m_socket->peerPort());
    m_localAddr = m_socket->localAddress().toString();
    m_localPort = QString::number(m_socket->localPort());
    m_lastActivity = std::chrono::steady_clock::now();
    // Bytes that came with the connection are read like any that follow.
    if (m_socket->state() != QAbstractSocket::ConnectedState || m_socket->bytesAvailable() > 0)
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_socket->state() == QAbstractSocket::ConnectedState)
                    readAvailable();
                else
                    onDisconnected();
            },
            Qt::QueuedConnection);
}

void AcceptedConnection::setLineMode(const LineAssembler::Options& options) {
    m_lineMode = true;
    m_lines = LineAssembler(options);
}

bool AcceptedConnection::isConnected() const {
    return !m_closeRequested && m_socket->state() == QAbstractSocket::ConnectedState;
}

void AcceptedConnection::send(QByteArrayView data) {
    if (!isConnected() || data.isEmpty())
        return;
    if (m_socket->bytesToWrite() + data.size() > MaxPendingOutput) {
        // The peer does not read what it asks for; its answers would pile up here.
        abort();
        return;
    }
    m_socket->write(data.data(), data.size());
    m_socket->flush();
}

void AcceptedConnection::readAvailable() {
    process(LinesPerEvent);
}

void AcceptedConnection::process(int budget) {
    QPointer<AcceptedConnection> self(this);
    char chunk[ReadChunk];
    for (;;) {
        if (!self || m_closeRequested)
            return;
        if (m_lineMode) {
            // Lines already assembled go first, so the order of the stream is kept.
            QByteArray line;
            for (;;) {
                if (budget == 0) {
                    continueLater();
                    return;
                }
                const LineAssembler::Result result = m_lines.next(line);
                if (result == LineAssembler::Result::None)
                    break;
                if (result == LineAssembler::Result::LimitExceeded) {
                    Q_EMIT lineLimitExceeded();
                    return;
                }
                Q_EMIT dataAvailable(line);
                if (!self || m_closeRequested)
                    return;
                if (budget > 0)
                    --budget;
            }
        }
        if (m_socket->bytesAvailable() <= 0)
            return;
        if (budget == 0) {
            continueLater();
            return;
        }
        const qint64 got = m_socket->read(chunk, sizeof chunk);
        if (got <= 0)
            return;
        // Any byte counts, also one of a line still being typed.
        m_lastActivity = std::chrono::steady_clock::now();
        if (m_lineMode) {
            m_lines.append(QByteArrayView(chunk, got));
        } else {
            Q_EMIT dataAvailable(QByteArray(chunk, got));
            if (budget > 0)
                --budget;
        }
    }
}

void AcceptedConnection::continueLater() {
    // A timer, not a posted call: posted calls made while posted calls are handled run
    // in the same turn of the event loop, timers at most once per turn.
    m_continueTimer->start();
}

void AcceptedConnection::onDisconnected() {
    if (m_finishQueued)
        return;
    QPointer<AcceptedConnection> self(this);
    if (!m_closeRequested) {
        // The peer has closed: what it sent last is still delivered, all of it (no more
        // than the socket's read buffer and one unfinished line).
        process(-1);
        if (self && m_lineMode && !m_closeRequested && m_lines.pending() > 0)
            Q_EMIT dataAvailable(m_lines.takeRemainder());
    }
    if (!self || m_finishQueued)
        return;
    m_closeRequested = true;
    m_finishQueued = true;
    // The end is announced from the event loop, never from inside a handler that is
    // still working on this connection.
    QMetaObject::invokeMethod(this, &AcceptedConnection::finish, Qt::QueuedConnection);
}

void AcceptedConnection::finish() {
    m_closeTimer->stop();
    Q_EMIT sessionClosed();
}

void AcceptedConnection::closeDelayed() {
    if (m_closeRequested)
        return;
    m_closeRequested = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_closeRequested = false;
            close();
        },
        Qt::QueuedConnection);
}

void AcceptedConnection::close() {
    if (m_finishQueued)
        return;
    m_closeRequested = true;
    m_lines.clear();
    if (m_socket->state() == QAbstractSocket::UnconnectedState) {
        onDisconnected();
        return;
    }
    m_closeTimer->start();
    m_socket->disconnectFromHost();
}

void AcceptedConnection::abort() {
    if (m_finishQueued)
        return;
    m_closeRequested = true;
    m_lines.clear();
    {
        const QSignalBlocker blocker(m_socket);
        m_socket->abort();
    }
    onDisconnected();
}
