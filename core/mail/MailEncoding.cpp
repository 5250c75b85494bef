#include "core/mail/MailEncoding.h"

#include "core/store/Windows1252.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>

QByteArray MailEncoding::toWire(const QString& text) {
    return Windows1252::encode(text);
}

QString MailEncoding::fromWire(const QByteArray& bytes) {
    return Windows1252::decode(bytes);
}

QByteArray MailEncoding::base64Encode(const QByteArray& data) {
    return data.toBase64();
}

QByteArray MailEncoding::base64Decode(const QByteArray& text) {
    return QByteArray::fromBase64(text);
}

QByteArray MailEncoding::hmacMd5Hex(const QByteArray& key, const QByteArray& message) {
    return QMessageAuthenticationCode::hash(message, key, QCryptographicHash::Md5).toHex();
}

QByteArray MailEncoding::cramMd5Answer(const QString& user, const QString& password,
                                       const QByteArray& challenge) {
    return toWire(user) + ' ' + hmacMd5Hex(toWire(password), challenge);
}
