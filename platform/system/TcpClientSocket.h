#pragma once

#include <QAbstractSocket>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QString>
#include <QStringList>

class QHostInfo;
class QSslError;
class QSslSocket;

// An event-driven TCP client: host-name lookup, connect, send with a notification once
// everything queued has been handed to the system, receive, orderly close, immediate
// abort, and TLS on an established connection. Every result arrives later through the
// event loop as a signal; nothing blocks. Error numbers are the Windows socket error
// numbers (10061 for a refused connection, 11001 for an unknown host, ...), 0 for none,
// and the error texts say the same in the interface language, without the number.
// The operations are virtual so that a session can be run on a scripted connection.
class TcpClientSocket : public QObject {
    Q_OBJECT
public:
    static constexpr int ErrorHostNotFound = 11001; // WSAHOST_NOT_FOUND
    static constexpr int ErrorTryAgain = 11002;     // WSATRY_AGAIN
    static constexpr int ErrorNoData = 11004;       // WSANO_DATA
    static constexpr int ErrorConnectionRefused = 10061;

    explicit TcpClientSocket(QObject* parent = nullptr);
    ~TcpClientSocket() override;

    // Resolves host (a name or a dotted address); lookupDone follows, also when the
    // text already is an address. A lookup still running is cancelled first.
    virtual void startLookup(const QString& host);
    // Drops a running lookup; its lookupDone never comes.
    virtual void cancelLookup();
    bool lookupPending() const { return m_lookupPending; }

    // Starts connecting to remote at port (a number or a well-known service name such as
    // "smtp"), bound to localAddr unless it is empty or "0.0.0.0". Throws SocketError
    // when the port or the local address cannot be used; connectDone follows otherwise.
    virtual void connectTo(const QHostAddress& remote, const QString& port,
                           const QString& localAddr);

    // True from the established connection until a close has started or ended.
    virtual bool isConnected() const { return m_phase == Phase::Connected; }
    // Connecting, connected or closing.
    bool isOpen() const { return m_phase != Phase::Idle; }

    // Starts TLS on the established connection. The server's certificate must chain to
    // the system's certificate store or to one of extraCaCertificates, and be issued for
    // peerName. encryptionDone follows; after a failure the connection is dropped at once
    // (closed follows), so nothing more is ever sent or read in plain text.
    virtual void startEncryption(const QString& peerName,
                                 const QList<QSslCertificate>& extraCaCertificates = {});
    virtual bool isEncrypted() const;
    // The certificate (its fingerprint) that the next startEncryption accepts although it
    // does not verify: one the user has looked at and chosen to trust for this server.
    void trustCertificate(const QByteArray& sha256Fingerprint) {
        m_trustedFingerprint = sha256Fingerprint;
    }
    // After a handshake that failed on the server's certificate: that certificate and why
    // it was refused, in the interface language; empty otherwise.
    QSslCertificate refusedCertificate() const { return m_refusedCertificate; }
    QStringList certificateErrors() const { return m_certificateErrors; }
    // The SHA-256 fingerprint of a certificate in lowercase hexadecimal.
    static QByteArray fingerprint(const QSslCertificate& certificate);
    // Whether this system can do TLS at all.
    static bool tlsAvailable();

    // Queues bytes for sending; dataSent follows once all of them are handed to the system.
    virtual void send(const QByteArray& data);
    // Reads at most max received bytes; 0 when nothing is waiting.
    virtual qint64 read(char* into, qint64 max);
    // Throws away everything received and not read yet.
    virtual void discardReceived();

    // Orderly close: what is queued is still sent, then the connection is shut down;
    // closed follows.
    virtual void close();
    // Drops the connection at once, discarding anything queued. When a connection was
    // established, closed is emitted before this returns; a connect in progress just ends.
    virtual void abort();

    // Port number for a number or a service name; -1 for anything unusable.
    static int portNumber(const QString& port);
    static int errorNumber(QAbstractSocket::SocketError error);

Q_SIGNALS:
    void lookupDone(int error, const QString& errorText, const QHostAddress& address);
    void connectDone(int error, const QString& errorText);
    void encryptionDone(bool ok, const QString& errorText);
    void dataAvailable();
    void dataSent();
    void closed(int error);

private:
    enum class Phase { Idle, Connecting, Connected, Closing };

    void onLookupResult(quint64 serial, const QHostInfo& info);
    void onConnected();
    void onErrorOccurred(QAbstractSocket::SocketError error);
    void onDisconnected();
    void onBytesWritten();
    void onEncrypted();
    void onSslErrors(const QList<QSslError>& errors);
    void failEncryption(const QString& text);
    void finishClose();

    QSslSocket* m_socket;
    Phase m_phase = Phase::Idle;
    bool m_lookupPending = false;
    int m_lookupId = -1;
    quint64 m_lookupSerial = 0;
    int m_closeError = 0;
    bool m_encrypting = false;
    QStringList m_certificateErrors;
    QSslCertificate m_refusedCertificate;
    QByteArray m_trustedFingerprint;
};
