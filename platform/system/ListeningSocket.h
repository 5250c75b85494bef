#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class QTcpServer;
class QTcpSocket;
class AcceptedConnection;

// A listening TCP socket on all IPv4 interfaces. Each accepted connection becomes a
// AcceptedConnection (or the subclass the client factory makes) whose events, like the
// listener's own, are signals on the thread of the event loop.
//
// Accepted connections close with linger on and a time-out of 0: a close does not wait
// for the peer to take unsent bytes. At most MaxConnections connections are open at a
// time, so a flood of peers cannot use up the process's file descriptors. A further one
// makes room by dropping the connection whose peer has sent nothing for the longest
// time: connections that only sit there cannot shut out a sender, and a person typing
// commands keeps the connection. Only when every connection is closing already is the
// newcomer refused (accepted and closed at once).
class ListeningSocket : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxConnections = 64;
    using ClientFactory = std::function<AcceptedConnection*(QObject* parent)>;

    explicit ListeningSocket(QObject* parent = nullptr);
    ~ListeningSocket() override;

    // Makes the object for each accepted connection; by default a plain AcceptedConnection.
    void setClientFactory(ClientFactory factory);
    // Sent with CR LF to every accepted connection that is still open after
    // clientConnected; nothing when empty.
    void setBanner(const QByteArray& banner) { m_banner = banner; }

    // Listens on 0.0.0.0 at port (0 for any free port). Throws TacknoteError with the
    // system's message when that is not possible; the listener then stays closed.
    void listen(quint16 port);
    // Stops listening; connections already accepted go on until they end.
    void close();
    bool isListening() const;
    // The port listened on; 0 when closed.
    quint16 port() const;

    int clientCount() const { return int(m_clients.size()); }
    const QList<AcceptedConnection*>& clients() const { return m_clients; }

Q_SIGNALS:
    void clientConnected(AcceptedConnection* client);
    // The connection has ended; the object is deleted once control returns to the
    // event loop.
    void clientDisconnected(AcceptedConnection* client);
    // A connection beyond MaxConnections was refused.
    void clientRefused(const QString& peerAddr);
    // The connection idle longest was dropped to make room for a new one; the new one's
    // clientConnected follows.
    void clientEvicted(const QString& peerAddr);
    // The listener itself failed (for example an accept that ran out of resources).
    void bgException(const QString& className, const QString& message);

private:
    class Listener;
    void acceptPending();
    void accept(QTcpSocket* socket);
    // Drops the open connection idle longest; false when every one is closing already.
    bool evictIdlest();
    // Connections not ended yet (a closing one still holds its socket).
    int openCount() const;

    Listener* m_listener;
    ClientFactory m_factory;
    QByteArray m_banner;
    QList<AcceptedConnection*> m_clients;
};
