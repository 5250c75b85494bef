#include "core/mail/SmtpMessageText.h"

#include "core/mail/MimeText.h"

#include <QRegularExpression>
#include <QUuid>

namespace {

bool isFoldBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// A cut at position cut must not separate the halves of a surrogate pair.
qsizetype keepPairs(const QString& text, qsizetype cut) {
    return cut > 1 && text.at(cut - 1).isHighSurrogate() ? cut - 1 : cut;
}

// Where a body line longer than limit ends: after the last blank that fits, or at the
// limit.
qsizetype bodyBreak(const QString& piece, qsizetype limit) {
    for (qsizetype i = limit - 1; i >= 1; --i) {
        if (isFoldBlank(piece.at(i)))
            return i + 1;
    }
    return keepPairs(piece, limit);
}

// Where a header line longer than limit is folded: before the last blank that fits; -1
// when there is none.
qsizetype headerFold(const QString& piece, qsizetype limit) {
    for (qsizetype i = limit; i >= 1; --i) {
        if (isFoldBlank(piece.at(i)))
            return i;
    }
    return -1;
}

} // namespace

bool SmtpMessageText::isBlank(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() > ' ')
            return false;
    }
    return true;
}

QString SmtpMessageText::singleLine(QString text) {
    for (QChar& c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c.unicode() == 0)
            c = QLatin1Char(' ');
    }
    return text;
}

QStringList SmtpMessageText::headerLines(const Header& header) {
    const auto addresses = [](const QString& value) {
        return MimeText::addressList(singleLine(value));
    };
    QStringList lines;
    if (!isBlank(header.replyTo))
        lines << QStringLiteral("Reply-To: ") + addresses(header.replyTo);
    if (!isBlank(header.returnPath))
        lines << QStringLiteral("Return-Path: ") + addresses(header.returnPath);
    lines << QStringLiteral("From: ") + addresses(header.from);
    lines << QStringLiteral("To: ") + addresses(header.to);
    const QString subject = QStringLiteral("Subject: ");
    lines << subject + MimeText::unstructured(singleLine(header.subject), int(subject.size()));
    if (!isBlank(header.sender))
        lines << QStringLiteral("Sender: ") + addresses(header.sender);
    else if (!isBlank(header.from))
        lines << QStringLiteral("Sender: ") + addresses(header.from);
    lines << QStringLiteral("Mime-Version: 1.0");
    lines << QStringLiteral("Content-Type: ") + singleLine(header.mediaType) +
                 QStringLiteral("; charset=\"") + singleLine(header.charSet) + QLatin1Char('"');
    lines << QStringLiteral("Content-Transfer-Encoding: quoted-printable");
    if (!header.messageId.isEmpty())
        lines << QStringLiteral("Message-ID: ") + header.messageId;
    lines << QStringLiteral("Date: ") + header.date;
    return lines;
}

QString SmtpMessageText::messageId(const QString& from, const QString& localHost) {
    // Letters, digits, dots and hyphens only, as a domain is written.
    static const QRegularExpression domainForm(
        QStringLiteral("^[A-Za-z0-9-]+(\\.[A-Za-z0-9-]+)*$"));
    const auto domainOf = [](const QString& text) {
        const qsizetype open = text.indexOf(QLatin1Char('<'));
        QString address = text.mid(open + 1).section(QLatin1Char(','), 0, 0);
        address = address.section(QLatin1Char('>'), 0, 0);
        return address.section(QLatin1Char('@'), -1).trimmed();
    };
    QString domain = from.contains(QLatin1Char('@')) ? domainOf(from) : QString();
    if (!domainForm.match(domain).hasMatch())
        domain = localHost.trimmed();
    if (!domainForm.match(domain).hasMatch())
        domain = QStringLiteral("localhost");
    return QLatin1Char('<') + QUuid::createUuid().toString(QUuid::Id128) + QLatin1Char('@') +
           domain + QLatin1Char('>');
}

QStringList SmtpMessageText::wireLines(const QString& line, Kind kind) {
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    QStringList out;
    for (QString piece : line.split(breaks)) {
        for (;;) {
            // Room for the "." that a line starting with one gets in front.
            const qsizetype limit = MaxLineLength - (piece.startsWith(QLatin1Char('.')) ? 1 : 0);
            if (piece.size() <= limit) {
                out << piece;
                break;
            }
            if (kind == Kind::Body) {
                const qsizetype cut = bodyBreak(piece, limit);
                out << piece.left(cut);
                piece.remove(0, cut);
                continue;
            }
            const qsizetype fold = headerFold(piece, limit);
            if (fold > 0) {
                out << piece.left(fold);
                piece.remove(0, fold);
            } else {
                const qsizetype cut = keepPairs(piece, limit);
                out << piece.left(cut);
                piece = QLatin1Char(' ') + piece.mid(cut);
            }
        }
    }
    for (QString& wire : out) {
        if (wire.startsWith(QLatin1Char('.')))
            wire.prepend(QLatin1Char('.'));
    }
    return out;
}
