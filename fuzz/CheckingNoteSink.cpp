#include "fuzz/CheckingNoteSink.h"

#include "core/notes/NoteStore.h"
#include "core/store/IniFile.h"
#include "fuzz/FuzzEnvironment.h"

#include <QFileInfo>

using Fuzz = FuzzEnvironment;

int CheckingNoteSink::beginReceivedNote() {
    if (!allEnded())
        Fuzz::fail("a note begun while the last one is unfinished");
    if (created() >= m_capacity)
        return -1;
    m_texts.append(QString());
    m_lines = 0;
    m_ended = false;
    return created() - 1;
}

void CheckingNoteSink::check(int note) const {
    if (note != created() - 1 || m_ended)
        Fuzz::fail("a step for a note not in progress", QString::number(note));
}

void CheckingNoteSink::setAlarmDateTime(int note, const QDateTime& when) {
    check(note);
    if (!when.isValid())
        Fuzz::fail("an invalid alarm time");
}

void CheckingNoteSink::setSoundFile(int note, const QString& path) {
    check(note);
    if (!QFileInfo(path).isAbsolute())
        Fuzz::fail("a sound file that is no absolute path", Fuzz::visible(path));
}

void CheckingNoteSink::setDay(int note, int day, bool) {
    check(note);
    if (day < 0 || day > 6)
        Fuzz::fail("a day out of the week", QString::number(day));
}

void CheckingNoteSink::appendLine(int note, const QString& text) {
    check(note);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pairedCr =
            text[i] == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n');
        const bool pairedLf =
            text[i] == QLatin1Char('\n') && i > 0 && text[i - 1] == QLatin1Char('\r');
        if ((text[i] == QLatin1Char('\r') && !pairedCr) ||
            (text[i] == QLatin1Char('\n') && !pairedLf))
            Fuzz::fail("a lone line-break character in a received line", Fuzz::visible(text));
    }
    // The text area adds each line as a new last line.
    QString& whole = m_texts[note];
    whole = m_lines++ == 0 ? text : whole + QStringLiteral("\r\n") + text;
    if (NoteStore::encodeText(whole).size() > IniFile::MaxValueLength)
        Fuzz::fail("a received note text longer than the notes file stores",
                   QString::number(NoteStore::encodeText(whole).size()));
}

void CheckingNoteSink::endReceivedNote(int note) {
    check(note);
    m_ended = true;
}
