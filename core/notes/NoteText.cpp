#include "core/notes/NoteText.h"

#include "core/store/IniFile.h"

namespace {

bool isLineBreak(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator;
}

} // namespace

qsizetype NoteText::storedLength(QStringView text) {
    qsizetype length = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            continue; // the LF of CR LF counts for both
        length += isLineBreak(c) ? 2 : 1;
    }
    return length;
}

QString NoteText::fitted(const QString& text) {
    qsizetype length = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            continue;
        length += isLineBreak(c) ? 2 : 1;
        if (length > IniFile::MaxValueLength) {
            qsizetype end = i;
            if (end > 0 && text.at(end).isLowSurrogate())
                --end; // never half a character
            if (end > 0 && text.at(end - 1) == QLatin1Char('\r'))
                --end; // nor half a line break
            return text.left(end);
        }
    }
    return text;
}

QString NoteText::withPlainLineBreaks(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (QChar& c : text) {
        if (isLineBreak(c))
            c = QLatin1Char('\n');
    }
    return text;
}

QString NoteText::normalized(const QString& text) {
    QString plain = withPlainLineBreaks(fitted(text));
    plain.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return plain;
}
