#pragma once

#include <QString>
#include <optional>

// The lines of the authentication mechanisms PLAIN (RFC 4616), LOGIN and CRAM-MD5
// (RFC 2195). User names and passwords go out as Windows-1252, Base64-encoded on one line.
class SmtpAuth {
public:
    // What the event texts show instead of a line that carries a password.
    static QString hiddenText() { return QStringLiteral("********"); }

    // "AUTH PLAIN " and the credentials. Authorization and authentication identity are
    // both the user name: servers check the password against the second one, so the
    // envelope sender must not stand there.
    static QString plainCommand(const QString& user, const QString& password);
    static QString plainCommandShown() { return QStringLiteral("AUTH PLAIN ") + hiddenText(); }

    // One answer of AUTH LOGIN: the Base64 form of the user name or of the password.
    static QString loginAnswer(const QString& text);

    // The answer to the server's "334 " line in AUTH CRAM-MD5: the user name, a blank and
    // the HMAC-MD5 of the decoded challenge keyed with the password in lowercase
    // hexadecimal, all Base64-encoded. Nothing when the line is too short to hold a
    // challenge.
    static std::optional<QString> cramMd5Answer(const QString& challengeLine, const QString& user,
                                                const QString& password);
};
