#include "platform/TWSocketServer.h"

#include "platform/TWSocketClient.h"
#include "store/TacknoteError.h"

#include <QTcpServer>
#include <QHostAddress>

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

class TWSocketServer::Listener : public QTcpServer {
public:
    explicit Listener(TWSocketServer* owner) : QTcpServer(owner), m_owner(owner) {}

protected:
    void incomingConnection(qintptr descriptor) override { m_owner->accept(descriptor); }

private:
    TWSocketServer* m_owner;
};

TWSocketServer::TWSocketServer(QObject* parent)
    : QObject(parent), m_listener(new Listener(this)),
      m_factory([](QObject* owner) { return new TWSocketClient(owner); }) {
    connect(m_listener, &QTcpServer::acceptError, this, [this] {
        Q_EMIT bgException(QStringLiteral("SocketError"), m_listener->errorString());
    });
}

TWSocketServer::~TWSocketServer() {
    // The connections go with the listener, without announcing their end.
    const QList<TWSocketClient*> clients = m_clients;
    m_clients.clear();
    for (TWSocketClient* client : clients) {
        client->disconnect(this);
        delete client;
    }
}

void TWSocketServer::setClientFactory(ClientFactory factory) {
    m_factory = std::move(factory);
}

void TWSocketServer::listen(quint16 port) {
    if (m_listener->isListening())
        return;
    if (!m_listener->listen(QHostAddress::AnyIPv4, port))
        throw TacknoteError(m_listener->errorString());
}

void TWSocketServer::close() {
    m_listener->close();
}

bool TWSocketServer::isListening() const {
    return m_listener->isListening();
}

quint16 TWSocketServer::port() const {
    return m_listener->isListening() ? m_listener->serverPort() : 0;
}

void TWSocketServer::accept(qintptr descriptor) {
    if (m_clients.size() >= MaxConnections) {
        refuse(descriptor);
        return;
    }
    setLingerZero(descriptor);
    TWSocketClient* client = m_factory(this);
    if (!client->attach(descriptor)) {
        const QString message = QStringLiteral("Cannot use accepted connection");
        delete client;
        ::close(int(descriptor));
        Q_EMIT bgException(QStringLiteral("SocketError"), message);
        return;
    }
    m_clients.append(client);
    connect(client, &TWSocketClient::sessionClosed, this, [this, client] {
        m_clients.removeOne(client);
        Q_EMIT clientDisconnected(client);
        client->deleteLater();
    });
    Q_EMIT clientConnected(client);
    if (!m_banner.isEmpty() && client->isConnected())
        client->send(m_banner + "\r\n");
}

void TWSocketServer::refuse(qintptr descriptor) {
    // Closed at once with an ordinary end of the connection, which every client reads
    // as "closed by the peer" (a reset during the handshake makes some retry).
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    QHostAddress peer;
    if (::getpeername(int(descriptor), reinterpret_cast<sockaddr*>(&address), &length) == 0)
        peer.setAddress(reinterpret_cast<const sockaddr*>(&address));
    ::close(int(descriptor));
    Q_EMIT clientRefused(peer.toString());
}
