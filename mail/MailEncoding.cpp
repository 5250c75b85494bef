#include "mail/MailEncoding.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {
constexpr const char* WireCodec = "windows-1252";
}

QByteArray MailEncoding::toWire(const QString& text) {
    QStringEncoder encoder(WireCodec);
    if (!encoder.isValid())
        return text.toLatin1();
    return encoder.encode(text);
}

QString MailEncoding::fromWire(const QByteArray& bytes) {
    QStringDecoder decoder(WireCodec);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
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
