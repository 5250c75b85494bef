#include "platform/TWSocketClient.h"

#include <QPointer>
#include <QSignalBlocker>
#include <QTcpSocket>
#include <QTimer>

TWSocketClient::TWSocketClient(QObject* parent)
    : QObject(parent), m_socket(new QTcpSocket(this)), m_closeTimer(new QTimer(this)) {
    m_socket->setReadBufferSize(ReadChunk);
    m_closeTimer->setSingleShot(true);
    m_closeTimer->setInterval(CloseWaitMs);
    connect(m_closeTimer, &QTimer::timeout, this, &TWSocketClient::abort);
    connect(m_socket, &QTcpSocket::readyRead, this, &TWSocketClient::readAvailable);
    connect(m_socket, &QTcpSocket::disconnected, this, &TWSocketClient::onDisconnected);
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this] {
        // Some failures end the connection without a disconnection being announced.
        if (m_socket->state() == QAbstractSocket::UnconnectedState)
            onDisconnected();
    });
}

TWSocketClient::~TWSocketClient() {
    const QSignalBlocker blocker(m_socket);
    m_socket->abort();
}

bool TWSocketClient::attach(qintptr descriptor) {
    if (!m_socket->setSocketDescriptor(descriptor))
        return false;
    m_peerAddr = m_socket->peerAddress().toString();
    m_peerPort = QString::number(m_socket->peerPort());
    m_localAddr = m_socket->localAddress().toString();
    m_localPort = QString::number(m_socket->localPort());
    return true;
}

void TWSocketClient::setLineMode(const LineAssembler::Options& options) {
    m_lineMode = true;
    m_lines = LineAssembler(options);
}

bool TWSocketClient::isConnected() const {
    return !m_closeRequested && m_socket->state() == QAbstractSocket::ConnectedState;
}

void TWSocketClient::send(QByteArrayView data) {
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

void TWSocketClient::readAvailable() {
    QPointer<TWSocketClient> self(this);
    char chunk[ReadChunk];
    while (self && !m_closeRequested && m_socket->bytesAvailable() > 0) {
        const qint64 got = m_socket->read(chunk, sizeof chunk);
        if (got <= 0)
            break;
        if (!m_lineMode) {
            Q_EMIT dataAvailable(QByteArray(chunk, got));
            continue;
        }
        m_lines.append(QByteArrayView(chunk, got));
        deliverLines();
    }
}

void TWSocketClient::deliverLines() {
    QPointer<TWSocketClient> self(this);
    QByteArray line;
    while (self && !m_closeRequested) {
        switch (m_lines.next(line)) {
        case LineAssembler::Result::Line:
            Q_EMIT dataAvailable(line);
            continue;
        case LineAssembler::Result::LimitExceeded:
            Q_EMIT lineLimitExceeded();
            return;
        case LineAssembler::Result::None:
            return;
        }
    }
}

void TWSocketClient::onDisconnected() {
    if (m_finishQueued)
        return;
    QPointer<TWSocketClient> self(this);
    if (!m_closeRequested) {
        // The peer has closed: what it sent last is still delivered.
        readAvailable();
        if (self && m_lineMode && !m_closeRequested && m_lines.pending() > 0)
            Q_EMIT dataAvailable(m_lines.takeRemainder());
    }
    if (!self || m_finishQueued)
        return;
    m_closeRequested = true;
    m_finishQueued = true;
    // The end is announced from the event loop, never from inside a handler that is
    // still working on this connection.
    QMetaObject::invokeMethod(this, &TWSocketClient::finish, Qt::QueuedConnection);
}

void TWSocketClient::finish() {
    m_closeTimer->stop();
    Q_EMIT sessionClosed();
}

void TWSocketClient::closeDelayed() {
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

void TWSocketClient::close() {
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

void TWSocketClient::abort() {
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
