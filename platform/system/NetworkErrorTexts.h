#pragma once

#include <QAbstractSocket>
#include <QCoreApplication>
#include <QHostInfo>
#include <QSslError>
#include <QString>
#include <QStringList>

// What went wrong on the network, told in the interface language: the reasons a socket
// fails, a host name is not found or a server's certificate is not trusted.
class NetworkErrorTexts {
    Q_DECLARE_TR_FUNCTIONS(NetworkErrorTexts)
public:
    static QString socketError(QAbstractSocket::SocketError error);
    static QString lookupError(QHostInfo::HostInfoError error);
    static QString certificateError(const QSslError& error);
    // A server whose certificate is not trusted, with the reasons.
    static QString untrustedCertificate(const QStringList& reasons);
    static QString tlsHandshakeFailed();
    static QString tlsUnavailable();
};
