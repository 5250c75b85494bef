#pragma once

#include <QByteArray>
#include <QString>

// Byte-level helpers of the mail session: the single-byte wire text, Base64 and the
// CRAM-MD5 digest.
class MailEncoding {
public:
    // Text as Windows-1252 bytes; characters outside it become "?".
    static QByteArray toWire(const QString& text);
    static QString fromWire(const QByteArray& bytes);

    // Base64 of RFC 2045 / RFC 4648 with "=" padding, all on one line.
    static QByteArray base64Encode(const QByteArray& data);
    // Decodes Base64, passing over characters outside the alphabet.
    static QByteArray base64Decode(const QByteArray& text);

    // HMAC-MD5 (RFC 2104) of message keyed with key, as 32 lowercase hexadecimal digits.
    static QByteArray hmacMd5Hex(const QByteArray& key, const QByteArray& message);

    // The CRAM-MD5 answer (RFC 2195) before its Base64 encoding: user name, a blank and
    // the hexadecimal digest of the decoded challenge keyed with the password.
    static QByteArray cramMd5Answer(const QString& user, const QString& password,
                                    const QByteArray& challenge);
};
