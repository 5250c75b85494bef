#pragma once

#include <QString>
#include <QStringView>

// The rules of a note's text: the notes file keeps it with every line break written as
// the two characters "\n", and that stored form may have at most IniFile::MaxValueLength
// characters. Every kind of line break (CR LF, CR, LF, U+2028, U+2029) is a line break.
class NoteText {
public:
    // How many characters text takes in the notes file.
    static qsizetype storedLength(QStringView text);
    // text without its end beyond the limit; never half a character or a line break.
    static QString fitted(const QString& text);
    // Line breaks of every kind as LF.
    static QString withPlainLineBreaks(QString text);
    // The text as a note holds it: within the limit, its lines separated by CR LF.
    static QString normalized(const QString& text);
};
