#include "platform/system/TcpClientSocket.h"

#include "platform/SocketError.h"
#include "platform/system/NetworkErrorTexts.h"

#include <QCryptographicHash>
#include <QHostInfo>
#include <QSignalBlocker>
#include <QSslConfiguration>
#include <QSslError>
#include <QSslSocket>

TcpClientSocket::TcpClientSocket(QObject* parent)
    : QObject(parent), m_socket(new QSslSocket(this)) {
    connect(m_socket, &QSslSocket::connected, this, &TcpClientSocket::onConnected);
    connect(m_socket, &QSslSocket::errorOccurred, this, &TcpClientSocket::onErrorOccurred);
    connect(m_socket, &QSslSocket::disconnected, this, &TcpClientSocket::onDisconnected);
    connect(m_socket, &QSslSocket::bytesWritten, this, &TcpClientSocket::onBytesWritten);
    connect(m_socket, &QSslSocket::encrypted, this, &TcpClientSocket::onEncrypted);
    connect(m_socket, &QSslSocket::sslErrors, this, &TcpClientSocket::onSslErrors);
    connect(m_socket, &QSslSocket::readyRead, this, [this] {
        if (m_phase == Phase::Connected || m_phase == Phase::Closing)
            Q_EMIT dataAvailable();
    });
}

TcpClientSocket::~TcpClientSocket() {
    cancelLookup();
    const QSignalBlocker blocker(m_socket);
    m_socket->abort();
}

void TcpClientSocket::startLookup(const QString& host) {
    cancelLookup();
    const quint64 serial = ++m_lookupSerial;
    m_lookupPending = true;
    const QString name = host.trimmed();
    QHostAddress literal;
    if (literal.setAddress(name)) {
        // An address needs no lookup, but its result still comes from the event loop
        // like any other.
        QMetaObject::invokeMethod(
            this,
            [this, serial, literal] {
                if (!m_lookupPending || serial != m_lookupSerial)
                    return;
                m_lookupPending = false;
                Q_EMIT lookupDone(0, QString(), literal);
            },
            Qt::QueuedConnection);
        return;
    }
    m_lookupId = QHostInfo::lookupHost(
        name, this, [this, serial](const QHostInfo& info) { onLookupResult(serial, info); });
}

void TcpClientSocket::cancelLookup() {
    if (!m_lookupPending)
        return;
    m_lookupPending = false;
    ++m_lookupSerial;
    if (m_lookupId >= 0)
        QHostInfo::abortHostLookup(m_lookupId);
    m_lookupId = -1;
}

void TcpClientSocket::onLookupResult(quint64 serial, const QHostInfo& info) {
    if (!m_lookupPending || serial != m_lookupSerial)
        return;
    m_lookupPending = false;
    m_lookupId = -1;
    if (info.error() != QHostInfo::NoError) {
        const int error =
            info.error() == QHostInfo::HostNotFound ? ErrorHostNotFound : ErrorTryAgain;
        Q_EMIT lookupDone(error, NetworkErrorTexts::lookupError(info.error()), QHostAddress());
        return;
    }
    const QList<QHostAddress> addresses = info.addresses();
    if (addresses.isEmpty()) {
        Q_EMIT lookupDone(ErrorNoData, NetworkErrorTexts::lookupError(QHostInfo::HostNotFound),
                          QHostAddress());
        return;
    }
    // IPv4 first, as the local address to bind to is given in that form.
    QHostAddress chosen = addresses.first();
    for (const QHostAddress& address : addresses) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol) {
            chosen = address;
            break;
        }
    }
    Q_EMIT lookupDone(0, QString(), chosen);
}

int TcpClientSocket::portNumber(const QString& port) {
    const QString text = port.trimmed();
    bool ok = false;
    const int number = text.toInt(&ok);
    if (ok)
        return number >= 1 && number <= 65535 ? number : -1;
    static const struct {
        const char* name;
        int number;
    } services[] = {{"smtp", 25}, {"submission", 587}, {"smtps", 465}, {"ssmtp", 465}};
    for (const auto& service : services) {
        if (text.compare(QLatin1String(service.name), Qt::CaseInsensitive) == 0)
            return service.number;
    }
    return -1;
}

void TcpClientSocket::connectTo(const QHostAddress& remote, const QString& port,
                                const QString& localAddr) {
    const int number = portNumber(port);
    if (number < 0)
        throw SocketError(QStringLiteral("Unknown port '%1'").arg(port));
    {
        const QSignalBlocker blocker(m_socket);
        m_socket->abort();
    }
    const QString local = localAddr.trimmed();
    if (!local.isEmpty() && local != QLatin1String("0.0.0.0")) {
        QHostAddress bindAddress;
        if (!bindAddress.setAddress(local))
            throw SocketError(QStringLiteral("Invalid local address '%1'").arg(localAddr));
        if (!m_socket->bind(bindAddress, 0)) {
            const QString reason = m_socket->errorString();
            const QSignalBlocker blocker(m_socket);
            m_socket->abort();
            throw SocketError(
                QStringLiteral("Cannot bind to local address '%1': %2").arg(localAddr, reason));
        }
    }
    m_closeError = 0;
    m_encrypting = false;
    m_phase = Phase::Connecting;
    m_socket->connectToHost(remote, quint16(number));
}

void TcpClientSocket::onConnected() {
    if (m_phase != Phase::Connecting)
        return;
    // Lines go out one at a time, each after the one before has been handed over; without
    // this the system would hold each small line back until the previous one is
    // acknowledged.
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_phase = Phase::Connected;
    Q_EMIT connectDone(0, QString());
}

void TcpClientSocket::onErrorOccurred(QAbstractSocket::SocketError error) {
    switch (m_phase) {
    case Phase::Idle:
        return;
    case Phase::Connecting: {
        const QString text = NetworkErrorTexts::socketError(error);
        m_phase = Phase::Idle;
        {
            const QSignalBlocker blocker(m_socket);
            m_socket->abort();
        }
        Q_EMIT connectDone(errorNumber(error), text);
        return;
    }
    case Phase::Connected:
    case Phase::Closing:
        if (m_encrypting) {
            failEncryption(NetworkErrorTexts::tlsHandshakeFailed());
            return;
        }
        if (error != QAbstractSocket::RemoteHostClosedError)
            m_closeError = errorNumber(error);
        // The socket may already have given up without announcing a disconnection.
        if (m_socket->state() == QAbstractSocket::UnconnectedState)
            finishClose();
        return;
    }
}

void TcpClientSocket::onDisconnected() {
    if (m_encrypting) {
        failEncryption(NetworkErrorTexts::tlsHandshakeFailed());
        return;
    }
    if (m_phase == Phase::Connected || m_phase == Phase::Closing)
        finishClose();
}

void TcpClientSocket::finishClose() {
    if (m_phase == Phase::Idle)
        return;
    m_phase = Phase::Idle;
    Q_EMIT closed(m_closeError);
}

bool TcpClientSocket::tlsAvailable() {
    return QSslSocket::supportsSsl();
}

bool TcpClientSocket::isEncrypted() const {
    return m_socket->isEncrypted();
}

void TcpClientSocket::startEncryption(const QString& peerName,
                                      const QList<QSslCertificate>& extraCaCertificates) {
    if (m_phase != Phase::Connected || m_encrypting || m_socket->isEncrypted())
        return;
    m_encrypting = true;
    m_certificateErrors.clear();
    m_refusedCertificate = QSslCertificate();
    if (!tlsAvailable()) {
        // Reported from the event loop like every other outcome.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_encrypting)
                    failEncryption(NetworkErrorTexts::tlsUnavailable());
            },
            Qt::QueuedConnection);
        return;
    }
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    // Adding certificates to a configuration stops it from loading the system's store on
    // demand, so the store is named explicitly beside them.
    if (!extraCaCertificates.isEmpty())
        config.setCaCertificates(QSslConfiguration::systemCaCertificates() + extraCaCertificates);
    config.setPeerVerifyMode(QSslSocket::VerifyPeer);
    m_socket->setSslConfiguration(config);
    m_socket->setPeerVerifyName(peerName.trimmed());
    m_socket->startClientEncryption();
}

QByteArray TcpClientSocket::fingerprint(const QSslCertificate& certificate) {
    return certificate.digest(QCryptographicHash::Sha256).toHex();
}

void TcpClientSocket::onSslErrors(const QList<QSslError>& errors) {
    // Ignored only for the very certificate the user has chosen to trust; otherwise the
    // handshake fails after this, and the texts say why.
    const QSslCertificate peer = m_socket->peerCertificate();
    if (!m_trustedFingerprint.isEmpty() && !peer.isNull() &&
        fingerprint(peer) == m_trustedFingerprint) {
        m_socket->ignoreSslErrors();
        return;
    }
    m_refusedCertificate = peer;
    for (const QSslError& error : errors) {
        const QString text = NetworkErrorTexts::certificateError(error);
        if (!m_certificateErrors.contains(text))
            m_certificateErrors << text;
    }
}

void TcpClientSocket::onEncrypted() {
    if (!m_encrypting)
        return;
    m_encrypting = false;
    Q_EMIT encryptionDone(true, QString());
}

void TcpClientSocket::failEncryption(const QString& text) {
    m_encrypting = false;
    const QString reason = m_certificateErrors.isEmpty()
                               ? text
                               : NetworkErrorTexts::untrustedCertificate(m_certificateErrors);
    Q_EMIT encryptionDone(false, reason);
    abort();
}

void TcpClientSocket::onBytesWritten() {
    if (m_phase == Phase::Connected && m_socket->bytesToWrite() == 0)
        Q_EMIT dataSent();
}

void TcpClientSocket::send(const QByteArray& data) {
    if (m_phase == Phase::Connected)
        m_socket->write(data);
}

qint64 TcpClientSocket::read(char* into, qint64 max) {
    if (max <= 0)
        return 0;
    const qint64 got = m_socket->read(into, max);
    return got < 0 ? 0 : got;
}

void TcpClientSocket::discardReceived() {
    m_socket->readAll();
}

void TcpClientSocket::close() {
    switch (m_phase) {
    case Phase::Idle:
    case Phase::Closing:
        return;
    case Phase::Connecting:
        abort();
        return;
    case Phase::Connected:
        m_phase = Phase::Closing;
        m_socket->disconnectFromHost();
        if (m_socket->state() == QAbstractSocket::UnconnectedState)
            finishClose();
        return;
    }
}

void TcpClientSocket::abort() {
    const Phase before = m_phase;
    m_phase = Phase::Idle;
    m_encrypting = false;
    {
        const QSignalBlocker blocker(m_socket);
        m_socket->abort();
    }
    if (before == Phase::Connected || before == Phase::Closing) {
        m_phase = Phase::Connected; // lets finishClose report it once
        m_closeError = 0;
        finishClose();
    }
}

int TcpClientSocket::errorNumber(QAbstractSocket::SocketError error) {
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return ErrorConnectionRefused;
    case QAbstractSocket::RemoteHostClosedError:
        return 10054; // WSAECONNRESET
    case QAbstractSocket::HostNotFoundError:
        return ErrorHostNotFound;
    case QAbstractSocket::SocketAccessError:
        return 10013; // WSAEACCES
    case QAbstractSocket::SocketResourceError:
        return 10055; // WSAENOBUFS
    case QAbstractSocket::SocketTimeoutError:
        return 10060; // WSAETIMEDOUT
    case QAbstractSocket::NetworkError:
        return 10065; // WSAEHOSTUNREACH
    case QAbstractSocket::AddressInUseError:
        return 10048; // WSAEADDRINUSE
    case QAbstractSocket::SocketAddressNotAvailableError:
        return 10049; // WSAEADDRNOTAVAIL
    case QAbstractSocket::UnsupportedSocketOperationError:
        return 10045; // WSAEOPNOTSUPP
    default:
        return 10022; // WSAEINVAL
    }
}
