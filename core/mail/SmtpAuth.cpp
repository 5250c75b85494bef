#include "core/mail/SmtpAuth.h"

#include "core/mail/MailEncoding.h"

QString SmtpAuth::plainCommand(const QString& user, const QString& password) {
    const QByteArray name = MailEncoding::toWire(user);
    const QByteArray credentials = name + '\0' + name + '\0' + MailEncoding::toWire(password);
    return QStringLiteral("AUTH PLAIN ") +
           QString::fromLatin1(MailEncoding::base64Encode(credentials));
}

QString SmtpAuth::loginAnswer(const QString& text) {
    return QString::fromLatin1(MailEncoding::base64Encode(MailEncoding::toWire(text)));
}

std::optional<QString> SmtpAuth::cramMd5Answer(const QString& challengeLine, const QString& user,
                                               const QString& password) {
    if (challengeLine.size() <= 4)
        return std::nullopt;
    const QByteArray challenge =
        MailEncoding::base64Decode(MailEncoding::toWire(challengeLine.mid(4)));
    const QByteArray answer = MailEncoding::cramMd5Answer(user, password, challenge);
    return QString::fromLatin1(MailEncoding::base64Encode(answer));
}
