#include "core/net/ReceivedNoteBuilder.h"

#include "core/net/NoteProtocol.h"
#include "core/net/ProtocolError.h"
#include "core/net/ReceivedNoteSink.h"
#include "core/notes/NoteStore.h"
#include "core/store/IniFile.h"
#include "core/store/Rotinas.h"
#include "platform/LocaleInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

const QString& field(const QStringList& fields, qsizetype index) {
    if (index >= fields.size())
        throw ProtocolError::missingField(index);
    return fields[index];
}

int integerField(const QStringList& fields, qsizetype index) {
    const QString& text = field(fields, index);
    const std::optional<int> value = IniFile::parseInteger(text);
    if (!value)
        throw ProtocolError::notAnInteger(text);
    return *value;
}

bool isOne(const QStringList& fields, qsizetype index) {
    return field(fields, index) == QLatin1String("1");
}

// Characters of text in its stored form: a line break (CR LF, or a lone CR or LF) is
// stored as two characters.
qsizetype storedLength(const QString& text) {
    return NoteStore::encodeText(text).size();
}

// The longest start of text whose stored form has at most room characters; a CR LF is
// never split.
QString cutToFit(const QString& text, qsizetype room) {
    qsizetype used = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const bool pair =
            text[i] == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n');
        const bool lineBreak = text[i] == QLatin1Char('\r') || text[i] == QLatin1Char('\n');
        const qsizetype cost = lineBreak ? 2 : 1;
        if (used + cost > room)
            break;
        used += cost;
        i += pair ? 2 : 1;
    }
    return text.left(i);
}

} // namespace

ReceivedNoteBuilder::ReceivedNoteBuilder(ReceivedNoteSink& sink, const LocaleInfo& locale,
                                         QString soundDir)
    : m_sink(sink), m_locale(locale), m_soundDir(std::move(soundDir)) {}

int ReceivedNoteBuilder::begin() {
    return m_sink.beginReceivedNote();
}

void ReceivedNoteBuilder::fillNew(int note, const QStringList& fields, const QString& peerAddress) {
    m_sink.setCaption(note, field(fields, 2));
    m_sink.setNoteColor(note, integerField(fields, 3));
    m_sink.setCaptionColor(note, integerField(fields, 6));
    m_sink.setTextAreaWidth(note, integerField(fields, 4));
    m_sink.setTextAreaHeight(note, integerField(fields, 5));
    m_sink.setReplyAddress(note, peerAddress);
    m_sink.setFontName(note, field(fields, 7));
    m_sink.setFontSize(note, integerField(fields, 8));
    m_sink.setFontColor(note, integerField(fields, 9));
    m_sink.setFontBold(note, field(fields, 10) == QLatin1String("bold"));
    m_sink.setFontItalic(note, field(fields, 11) == QLatin1String("italic"));
    m_sink.showFooter(note, footer(field(fields, 1), peerAddress));
}

void ReceivedNoteBuilder::applyAlarm(int note, const QStringList& fields) {
    m_sink.setAlarm(note);
    const QString& when = field(fields, 1);
    const std::optional<QDateTime> alarmTime = m_locale.parseDateTime(when);
    if (!alarmTime)
        throw ProtocolError::notADateTime(when);
    m_sink.setAlarmDateTime(note, *alarmTime);
    if (isOne(fields, 2)) {
        m_sink.setUseSound(note, true);
        m_sink.setSoundFile(note, soundFileFor(field(fields, 3)));
    } else {
        m_sink.setUseSound(note, false);
    }
    if (isOne(fields, 4)) {
        m_sink.setRemember(note, true);
        m_sink.setRememberNo(note, integerField(fields, 5));
        m_sink.setRememberUnit(note, integerField(fields, 6));
        for (int day = 0; day < 7; ++day)
            m_sink.setDay(note, day, isOne(fields, 7 + day));
    } else {
        m_sink.setRemember(note, false);
    }
    m_sink.showAlarmIcon(note);
}

ReceivedNoteBuilder::Appended ReceivedNoteBuilder::appendLine(int note, const QStringList& fields,
                                                              TextBudget& budget) {
    const QString text = NoteProtocol::decodeText(field(fields, 1));
    if (budget.full)
        return Appended::Dropped;
    // A line after the first one is joined to the text by a line break.
    const qsizetype room = IniFile::MaxValueLength - budget.stored - (budget.lines > 0 ? 2 : 0);
    const qsizetype needed = storedLength(text);
    if (needed <= room) {
        m_sink.appendLine(note, text);
        budget.stored += needed + (budget.lines > 0 ? 2 : 0);
        ++budget.lines;
        return Appended::Whole;
    }
    budget.full = true;
    const QString part = room > 0 ? cutToFit(text, room) : QString();
    if (part.isEmpty())
        return Appended::Dropped;
    m_sink.appendLine(note, part);
    budget.stored += storedLength(part) + (budget.lines > 0 ? 2 : 0);
    ++budget.lines;
    return Appended::Cut;
}

void ReceivedNoteBuilder::end(int note) {
    m_sink.endReceivedNote(note);
}

QString ReceivedNoteBuilder::soundFileFor(const QString& received) const {
    const QFileInfo named(received);
    if (!received.isEmpty() && named.isAbsolute() && named.isFile() && named.isReadable())
        return received;
    const QDir folder(m_soundDir);
    const QFileInfoList entries = folder.entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo& entry : entries) {
        if (entry.fileName().compare(QLatin1String(DefaultSound), Qt::CaseInsensitive) == 0)
            return entry.filePath();
    }
    return Rotinas::AddBackslash(m_soundDir) + QLatin1String(DefaultSound);
}

QString ReceivedNoteBuilder::footer(const QString& sender, const QString& address) {
    return QCoreApplication::translate("ReceivedNoteBuilder", "De ") + sender +
           QStringLiteral(" (") + address + QLatin1Char(')');
}
