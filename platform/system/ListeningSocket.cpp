#include "platform/system/ListeningSocket.h"

#include "core/base/TacknoteError.h"
#include "platform/system/AcceptedConnection.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <sys/socket.h>
#include <unistd.h>

namespace {

// Linger on with a time-out of 0: closing resets the connection instead of lingering
// until the peer has taken every byte.
void setLingerZero(qintptr descriptor) {
    const linger option{1, 0};
    ::setsockopt(int(descriptor), SOL_SOCKET, SO_LINGER, &option, sizeof option);
}

} // namespace

// Accepts at most AcceptsPerEvent connections each time the listening socket is ready;
// the rest wait for the next turn, so a storm of connections cannot hold up the events.
class ListeningSocket::Listener : public QTcpServer {
public:
    static constexpr int AcceptsPerEvent = 16;

    explicit Listener(QObject* parent) : QTcpServer(parent) {
        setMaxPendingConnections(AcceptsPerEvent);
    }

protected:
    void incomingConnection(qintptr descriptor) override {
        auto* socket = new QTcpSocket(this);
        // Bounded before the first byte is read.
        socket->setReadBufferSize(AcceptedConnection::ReadChunk);
        if (socket->setSocketDescriptor(descriptor)) {
            addPendingConnection(socket);
        } else {
            delete socket;
            ::close(int(descriptor));
        }
    }
};

ListeningSocket::ListeningSocket(QObject* parent)
    : QObject(parent), m_listener(new Listener(this)),
      m_factory([](QObject* owner) { return new AcceptedConnection(owner); }) {
    connect(m_listener, &QTcpServer::acceptError, this, [this] {
        Q_EMIT bgException(QStringLiteral("SocketError"), m_listener->errorString());
    });
    // Taken from the event loop: until then further connections wait in the system.
    connect(m_listener, &QTcpServer::newConnection, this, &ListeningSocket::acceptPending,
            Qt::QueuedConnection);
}

ListeningSocket::~ListeningSocket() {
    // The connections go with the listener, without announcing their end.
    const QList<AcceptedConnection*> clients = m_clients;
    m_clients.clear();
    for (AcceptedConnection* client : clients) {
        client->disconnect(this);
        delete client;
    }
}

void ListeningSocket::setClientFactory(ClientFactory factory) {
    m_factory = std::move(factory);
}

void ListeningSocket::listen(quint16 port) {
    if (m_listener->isListening())
        return;
    if (!m_listener->listen(QHostAddress::AnyIPv4, port))
        throw TacknoteError(m_listener->errorString());
}

void ListeningSocket::close() {
    m_listener->close();
}

bool ListeningSocket::isListening() const {
    return m_listener->isListening();
}

quint16 ListeningSocket::port() const {
    return m_listener->isListening() ? m_listener->serverPort() : 0;
}

void ListeningSocket::acceptPending() {
    while (QTcpSocket* socket = m_listener->nextPendingConnection())
        accept(socket);
}

bool ListeningSocket::evictIdlest() {
    AcceptedConnection* idlest = nullptr;
    for (AcceptedConnection* client : std::as_const(m_clients)) {
        if (client->isConnected() && (!idlest || client->lastActivity() < idlest->lastActivity()))
            idlest = client;
    }
    if (!idlest)
        return false;
    Q_EMIT clientEvicted(idlest->peerAddr() + QLatin1Char('/') + idlest->peerPort());
    idlest->abort();
    return true;
}

int ListeningSocket::openCount() const {
    int open = 0;
    for (const AcceptedConnection* client : m_clients) {
        if (!client->isEnded())
            ++open;
    }
    return open;
}

void ListeningSocket::accept(QTcpSocket* socket) {
    if (openCount() >= MaxConnections && !evictIdlest()) {
        // Closed at once with an ordinary end of the connection, which every client
        // reads as "closed by the peer" (a reset during the handshake makes some retry).
        const QString peer = socket->peerAddress().toString();
        socket->close();
        delete socket;
        Q_EMIT clientRefused(peer);
        return;
    }
    setLingerZero(socket->socketDescriptor());
    AcceptedConnection* client = m_factory(this);
    client->attach(socket);
    m_clients.append(client);
    connect(client, &AcceptedConnection::sessionClosed, this, [this, client] {
        m_clients.removeOne(client);
        Q_EMIT clientDisconnected(client);
        client->deleteLater();
    });
    Q_EMIT clientConnected(client);
    if (!m_banner.isEmpty() && client->isConnected())
        client->send(m_banner + "\r\n");
}
