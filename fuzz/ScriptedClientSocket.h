#pragma once

#include "platform/system/TcpClientSocket.h"

#include <QByteArray>

// A client connection without a network, for running the mail session in memory: it
// records what the session asks (a lookup, a connect, TLS, a close) and everything it
// sends, and hands out the bytes a test puts in as the server's. The test answers each
// request by emitting the socket's own signals, as the event loop would.
class ScriptedClientSocket final : public TcpClientSocket {
    Q_OBJECT
public:
    using TcpClientSocket::TcpClientSocket;

    // What the session has asked for and not been answered yet.
    bool lookupRequested = false;
    bool connectRequested = false;
    bool encryptionRequested = false;
    bool closeRequested = false;

    bool connected = false;
    bool encrypted = false;
    QByteArray incoming;          // the server's bytes not read yet
    QList<QByteArray> sent;       // every send, in order
    QList<bool> sentEncrypted;    // whether each one went out encrypted
    qsizetype unacknowledged = 0; // sends not yet reported as handed over

    void startLookup(const QString& host) override;
    void cancelLookup() override { lookupRequested = false; }
    void connectTo(const QHostAddress& remote, const QString& port,
                   const QString& localAddr) override;
    bool isConnected() const override { return connected && !closeRequested; }
    void startEncryption(const QString& peerName,
                         const QList<QSslCertificate>& extraCaCertificates) override;
    bool isEncrypted() const override { return encrypted; }
    void send(const QByteArray& data) override;
    qint64 read(char* into, qint64 max) override;
    void discardReceived() override { incoming.clear(); }
    void close() override;
    void abort() override;
};
