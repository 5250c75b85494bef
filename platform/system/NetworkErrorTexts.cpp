#include "platform/system/NetworkErrorTexts.h"

QString NetworkErrorTexts::socketError(QAbstractSocket::SocketError error) {
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return tr("Conexão recusada pelo servidor");
    case QAbstractSocket::RemoteHostClosedError:
        return tr("O servidor encerrou a conexão");
    case QAbstractSocket::HostNotFoundError:
        return tr("Servidor não encontrado");
    case QAbstractSocket::SocketAccessError:
        return tr("Acesso à rede negado");
    case QAbstractSocket::SocketResourceError:
        return tr("Recursos do sistema esgotados");
    case QAbstractSocket::SocketTimeoutError:
        return tr("Tempo de conexão esgotado");
    case QAbstractSocket::NetworkError:
        return tr("Rede inacessível");
    case QAbstractSocket::AddressInUseError:
        return tr("Endereço local já em uso");
    case QAbstractSocket::SocketAddressNotAvailableError:
        return tr("Endereço local indisponível");
    case QAbstractSocket::SslHandshakeFailedError:
    case QAbstractSocket::SslInternalError:
    case QAbstractSocket::SslInvalidUserDataError:
        return tlsHandshakeFailed();
    default:
        return tr("Erro de rede");
    }
}

QString NetworkErrorTexts::lookupError(QHostInfo::HostInfoError error) {
    return error == QHostInfo::HostNotFound ? tr("Servidor não encontrado")
                                            : tr("Não foi possível consultar o nome do servidor");
}

QString NetworkErrorTexts::certificateError(const QSslError& error) {
    switch (error.error()) {
    case QSslError::SelfSignedCertificate:
        return tr("o certificado é autoassinado");
    case QSslError::SelfSignedCertificateInChain:
    case QSslError::UnableToGetLocalIssuerCertificate:
    case QSslError::UnableToGetIssuerCertificate:
    case QSslError::UnableToVerifyFirstCertificate:
    case QSslError::CertificateUntrusted:
        return tr("o certificado não foi emitido por uma autoridade confiável");
    case QSslError::HostNameMismatch:
        return tr("o certificado foi emitido para outro nome");
    case QSslError::CertificateExpired:
        return tr("o certificado expirou");
    case QSslError::CertificateNotYetValid:
        return tr("o certificado ainda não é válido");
    case QSslError::CertificateRevoked:
        return tr("o certificado foi revogado");
    default:
        return error.errorString();
    }
}

QString NetworkErrorTexts::untrustedCertificate(const QStringList& reasons) {
    return tr("Certificado do servidor não confiável: %1").arg(reasons.join(QStringLiteral("; ")));
}

QString NetworkErrorTexts::tlsHandshakeFailed() {
    return tr("Falha na negociação TLS");
}

QString NetworkErrorTexts::tlsUnavailable() {
    return tr("TLS não está disponível neste sistema");
}
