#pragma once

#include <QString>
#include <QStringList>

// The text of a message as the SMTP session sends it: the header block, and each line
// made fit for the wire.
class SmtpMessageText {
public:
    // The longest line RFC 5322 allows, its CR LF not counted.
    static constexpr int MaxLineLength = 998;

    enum class Kind { Header, Body };

    struct Header {
        QString from;
        QString to;
        QString subject;
        QString sender;
        QString replyTo;
        QString returnPath;
        QString mediaType; // "text/plain" or "text/html"
        QString charSet;
        QString messageId;
        QString date;
    };

    // Reply-To and Return-Path when not blank, From, To, Subject, Sender (the sender, or
    // else From when that is not blank), Mime-Version, Content-Type, Content-Transfer-
    // Encoding (quoted-printable), Message-ID and Date. Each value stays on its line: line
    // breaks inside it become blanks. Text that is not plain ASCII (the subject, display
    // names) goes as encoded words, so the header is ASCII.
    static QStringList headerLines(const Header& header);

    // A new, unique message identifier ("<...@domain>"): the domain is that of the first
    // address in from, or else localHost, or else "localhost".
    static QString messageId(const QString& from, const QString& localHost);

    // Blank: nothing left once blanks and control characters are removed from both ends.
    static bool isBlank(const QString& text);
    // The text with CR, LF and NUL turned into blanks.
    static QString singleLine(QString text);

    // The lines one message line becomes on the wire, without their CR LF. Line breaks
    // inside it (CR LF, or a lone CR or LF) start new lines. A line longer than
    // MaxLineLength is broken, so nothing is lost: a body line after the last blank that
    // fits (or, without one, right at the limit); a header line is folded before the last
    // blank that fits, the continuation starting with that blank, so that unfolding gives
    // back the original (a header line without any blank to fold at is folded at the
    // limit, and its continuation gets a blank of its own). Finally every line that starts
    // with "." gets a second one, so the server never mistakes text for the message's end.
    static QStringList wireLines(const QString& line, Kind kind);
};
