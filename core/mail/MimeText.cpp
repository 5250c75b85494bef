#include "core/mail/MimeText.h"

#include "core/store/Windows1252.h"

#include <QStringEncoder>
#include <QStringList>
#include <algorithm>

namespace {

bool isWindows1252(const QString& name) {
    return name.compare(QLatin1String("windows-1252"), Qt::CaseInsensitive) == 0 ||
           name.compare(QLatin1String("cp1252"), Qt::CaseInsensitive) == 0;
}

const char HexDigits[] = "0123456789ABCDEF";

void appendEncodedLine(QByteArray& out, QByteArrayView line) {
    int column = 0;
    const bool fromLine = line.startsWith("From ");
    for (qsizetype i = 0; i < line.size(); ++i) {
        const uchar c = uchar(line[i]);
        const bool last = i + 1 == line.size();
        char token[3];
        int length = 1;
        const bool blank = c == ' ' || c == '\t';
        const bool literal =
            blank ? !last : c >= 33 && c <= 126 && c != '=' && !(i == 0 && fromLine);
        if (literal) {
            token[0] = char(c);
        } else {
            token[0] = '=';
            token[1] = HexDigits[c >> 4];
            token[2] = HexDigits[c & 15];
            length = 3;
        }
        // A line that goes on needs room for the "=" of its soft break.
        const int room = last ? MimeText::MaxEncodedLineLength : MimeText::MaxEncodedLineLength - 1;
        if (column + length > room) {
            out += "=\r\n";
            column = 0;
        }
        out.append(token, length);
        column += length;
    }
}

// Where the head of one encoded word ends: the most whole characters from start whose
// UTF-8 form fits into maxBytes (always at least one).
qsizetype wordEnd(const QString& text, qsizetype start, int maxBytes) {
    int bytes = 0;
    qsizetype at = start;
    while (at < text.size()) {
        const char32_t c = text.at(at).unicode();
        const bool pair =
            QChar::isHighSurrogate(c) && at + 1 < text.size() && text.at(at + 1).isLowSurrogate();
        const int width = pair ? 4 : c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
        if (bytes + width > maxBytes && at > start)
            break;
        bytes += width;
        at += pair ? 2 : 1;
    }
    return at;
}

// The display name of an address written as name and bracketed address, without the
// quotation marks it may be written in.
QString unquoted(const QString& name) {
    if (name.size() < 2 || !name.startsWith(QLatin1Char('"')) || !name.endsWith(QLatin1Char('"')))
        return name;
    QString out;
    for (qsizetype i = 1; i + 1 < name.size(); ++i) {
        if (name.at(i) == QLatin1Char('\\') && i + 2 < name.size())
            ++i;
        out += name.at(i);
    }
    return out;
}

// Where the address of an entry written as name and bracketed address starts; -1 for
// an entry of another form.
qsizetype bracketAt(const QString& entry) {
    bool quoted = false;
    for (qsizetype i = 0; i < entry.size(); ++i) {
        const QChar c = entry.at(i);
        if (quoted && c == QLatin1Char('\\'))
            ++i;
        else if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && c == QLatin1Char('<'))
            return entry.indexOf(QLatin1Char('>'), i) > i ? i : -1;
    }
    return -1;
}

// The entries of an address list, split at the commas that are neither quoted nor
// inside angle brackets.
QStringList entries(const QString& list) {
    QStringList out;
    bool quoted = false;
    int brackets = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QChar c = list.at(i);
        if (quoted && c == QLatin1Char('\\')) {
            ++i;
        } else if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (!quoted && c == QLatin1Char('<')) {
            ++brackets;
        } else if (!quoted && c == QLatin1Char('>') && brackets > 0) {
            --brackets;
        } else if (!quoted && brackets == 0 && c == QLatin1Char(',')) {
            out << list.mid(start, i - start);
            start = i + 1;
        }
    }
    out << list.mid(start);
    return out;
}

} // namespace

QString MimeText::usableCharset(const QString& charSet) {
    const QString name = charSet.trimmed();
    if (isWindows1252(name))
        return name;
    if (!name.isEmpty() && QStringEncoder(name.toLatin1().constData()).isValid())
        return name;
    return QStringLiteral("utf-8");
}

QByteArray MimeText::encode(const QString& text, const QString& charSet) {
    const QString name = usableCharset(charSet);
    if (isWindows1252(name))
        return Windows1252::encode(text);
    QStringEncoder encoder(name.toLatin1().constData());
    return encoder.encode(text);
}

QByteArray MimeText::quotedPrintable(const QByteArray& bytes) {
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 8);
    qsizetype start = 0;
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && bytes.at(i) != '\r' && bytes.at(i) != '\n')
            continue;
        if (start > 0)
            out += "\r\n";
        appendEncodedLine(out, QByteArrayView(bytes).sliced(start, i - start));
        if (i + 1 < bytes.size() && bytes.at(i) == '\r' && bytes.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    return out;
}

bool MimeText::needsEncoding(const QString& text) {
    for (const QChar c : text) {
        if ((c.unicode() < 0x20 && c != QLatin1Char('\t')) || c.unicode() > 0x7E)
            return true;
    }
    return text.contains(QLatin1String("=?"));
}

QString MimeText::encodedWords(const QString& text, int lineUsed) {
    static const QString head = QStringLiteral("=?UTF-8?B?");
    static const QString tail = QStringLiteral("?=");
    // Base64 turns every 3 bytes into 4 characters. Each word goes on a line of its own,
    // the first after the header's name, and no line is longer than 76 characters.
    const auto maxBytes = [&](int used) {
        const int room = std::min(MaxEncodedWordLength, 76 - used);
        return std::max(3, (room - int(head.size() + tail.size())) / 4 * 3);
    };
    QStringList words;
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype end = wordEnd(text, at, maxBytes(words.isEmpty() ? lineUsed : 1));
        words << head + QString::fromLatin1(text.mid(at, end - at).toUtf8().toBase64()) + tail;
        at = end;
    }
    return words.join(QStringLiteral("\r\n "));
}

QString MimeText::unstructured(const QString& value, int lineUsed) {
    return needsEncoding(value) ? encodedWords(value, lineUsed) : value;
}

QString MimeText::addressList(const QString& value) {
    if (!needsEncoding(value))
        return value;
    QStringList out;
    for (const QString& entry : entries(value)) {
        const qsizetype bracket = bracketAt(entry);
        const QString name = bracket < 0 ? QString() : entry.left(bracket).trimmed();
        if (!needsEncoding(entry) || name.isEmpty() || !needsEncoding(unquoted(name))) {
            out << entry;
            continue;
        }
        const qsizetype lead = entry.indexOf(name);
        out << entry.left(lead) + encodedWords(unquoted(name)) + QLatin1Char(' ') +
                   entry.mid(bracket);
    }
    return out.join(QLatin1Char(','));
}
