#include "mail/SmtpMessageText.h"

#include <QRegularExpression>

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
    QStringList lines;
    if (!isBlank(header.replyTo))
        lines << QStringLiteral("Reply-To: ") + singleLine(header.replyTo);
    if (!isBlank(header.returnPath))
        lines << QStringLiteral("Return-Path: ") + singleLine(header.returnPath);
    lines << QStringLiteral("From: ") + singleLine(header.from);
    lines << QStringLiteral("To: ") + singleLine(header.to);
    lines << QStringLiteral("Subject: ") + singleLine(header.subject);
    if (!isBlank(header.sender))
        lines << QStringLiteral("Sender: ") + singleLine(header.sender);
    else if (!isBlank(header.from))
        lines << QStringLiteral("Sender: ") + singleLine(header.from);
    lines << QStringLiteral("Mime-Version: 1.0");
    lines << QStringLiteral("Content-Type: ") + singleLine(header.mediaType) +
                 QStringLiteral("; charset=\"") + singleLine(header.charSet) + QLatin1Char('"');
    lines << QStringLiteral("Date: ") + header.date;
    return lines;
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
