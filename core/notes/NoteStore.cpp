#include "core/notes/NoteStore.h"

#include "core/notes/NoteGeometry.h"
#include "core/store/IniFile.h"

#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace {

QString dayKey(int day) {
    return QStringLiteral("Dia") + QString::number(day + 1);
}

// The longest exact text read back: far beyond anything typed into a note.
constexpr qsizetype MaxExactLength = 8 * 1024 * 1024;

// What the usual key holds for a text: note texts with their line breaks escaped.
QString storedForm(const QString& text, bool noteText) {
    return noteText ? NoteStore::encodeText(text) : text;
}

QString withUniformBreaks(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

// Whether the usual key gives the text back (a line break may come back as another kind):
// no character beyond Windows-1252, not longer than a value holds, no typed "\n" in a note.
bool keptByUsualKey(const QString& text, bool noteText) {
    const QString readBack = IniFile::readBackOf(storedForm(text, noteText));
    if (!noteText)
        return readBack == text;
    return withUniformBreaks(NoteStore::decodeText(readBack)) == withUniformBreaks(text);
}

// The exact text kept beside a usual key that holds `stored`; nothing when none is kept,
// it is damaged, or the usual key no longer holds what the exact text is stored as there
// (another program changed it since).
std::optional<QString> exactText(IniFile& file, const QString& section, const char* key,
                                 const QString& stored, bool noteText) {
    const QString encoded = file.readLongString(section, QLatin1String(key), MaxExactLength);
    if (encoded.isEmpty())
        return std::nullopt;
    const QByteArray::FromBase64Result bytes =
        QByteArray::fromBase64Encoding(encoded.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!bytes)
        return std::nullopt;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(*bytes);
    if (utf8.hasError() || keptByUsualKey(text, noteText) ||
        IniFile::readBackOf(storedForm(text, noteText)) != stored)
        return std::nullopt;
    return text;
}

// Keeps the exact text beside its usual key when that key cannot give it back.
void writeExactText(IniFile& file, const QString& section, const char* key, const QString& text,
                    bool noteText) {
    if (!keptByUsualKey(text, noteText))
        file.writeString(section, QLatin1String(key),
                         QString::fromLatin1(text.toUtf8().toBase64()));
}

} // namespace

QString NoteStore::sectionName(int index) {
    return QStringLiteral("Stick") + QString::number(index);
}

NoteRecord NoteStore::read(IniFile& file, int index, const LocaleInfo& locale,
                           const QDateTime& now) {
    const QString s = sectionName(index);
    const NoteRecord d;
    NoteRecord note;
    note.caption = file.readString(s, QStringLiteral("caption"), d.caption);
    if (const std::optional<QString> exact =
            exactText(file, s, ExactCaptionKey, note.caption, false))
        note.caption = *exact;
    note.alarm = file.readBool(s, QStringLiteral("alarm"), false);
    if (note.alarm) {
        note.AlarmDateTime = file.readDateTime(s, QStringLiteral("AlarmDateTime"), now, locale);
        note.UseSound = file.readBool(s, QStringLiteral("UseSound"), false);
        note.SoundFile = file.readString(s, QStringLiteral("SoundFile"), QString());
        for (int day = 0; day < 7; ++day)
            note.weekdays[day] = file.readBool(s, dayKey(day), true);
        note.Remember = file.readBool(s, QStringLiteral("Remember"), false);
        note.RememberNo = file.readInteger(s, QStringLiteral("RememberNo"), 1);
        note.RememberUnit = file.readInteger(s, QStringLiteral("RememberUnit"), 0);
    } else {
        // A note without an alarm keeps the alarm fields of a new note window.
        note.weekdays.fill(false);
        note.RememberNo = 0;
        note.RememberUnit = 0;
    }
    note.scrollbar = file.readBool(s, QStringLiteral("scrollbar"), d.scrollbar);
    note.DarkCaption = file.readBool(s, QStringLiteral("DarkCaption"), d.DarkCaption);
    note.TrackPosition = file.readInteger(s, QStringLiteral("TrackPosition"), d.TrackPosition);
    note.footer = file.readString(s, QStringLiteral("Rodape"), d.footer);
    note.posx =
        std::clamp(file.readInteger(s, QStringLiteral("posx"), d.posx), -MaxPosition, MaxPosition);
    note.posy =
        std::clamp(file.readInteger(s, QStringLiteral("posy"), d.posy), -MaxPosition, MaxPosition);

    // A size no screen can show (a damaged file, a note a peer once made huge) heals
    // here: the note loads within bounds, and the next save writes those.
    const QSize size =
        NoteGeometry::boundedSize(file.readInteger(s, QStringLiteral("width"), d.Width),
                                  file.readInteger(s, QStringLiteral("height"), d.Height));
    note.Width = size.width();
    note.Height = size.height();
    note.FontBold = file.readInteger(s, QStringLiteral("FontBold"), 0) == 1;
    note.FontItalic = file.readInteger(s, QStringLiteral("FontItalic"), 0) == 1;
    note.Color = file.readInteger(s, QStringLiteral("Color"), d.Color);
    note.visible = file.readBool(s, QStringLiteral("visible"), d.visible);
    note.FontName = file.readString(s, QStringLiteral("FontName"), d.FontName);
    note.FontSize = file.readInteger(s, QStringLiteral("FontSize"), d.FontSize);
    note.FontColor = file.readInteger(s, QStringLiteral("FontColor"), d.FontColor);
    const QString storedNote = file.readString(s, QStringLiteral("note"), QString());
    note.note = exactText(file, s, ExactNoteKey, storedNote, true).value_or(decodeText(storedNote));
    note.topmost = file.readBool(s, QStringLiteral("topmost"), d.topmost);
    return note;
}

void NoteStore::write(IniFile& file, int index, const NoteRecord& note, const LocaleInfo& locale) {
    const QString s = sectionName(index);
    file.writeString(s, QStringLiteral("caption"), note.caption);
    file.writeBool(s, QStringLiteral("visible"), note.visible);
    file.writeBool(s, QStringLiteral("topmost"), note.topmost);
    if (note.alarm) {
        file.writeBool(s, QStringLiteral("alarm"), true);
        file.writeDateTime(s, QStringLiteral("AlarmDateTime"), note.AlarmDateTime, locale);
        file.writeBool(s, QStringLiteral("UseSound"), note.UseSound);
        file.writeString(s, QStringLiteral("SoundFile"), note.SoundFile);
        for (int day = 0; day < 7; ++day)
            file.writeBool(s, dayKey(day), note.weekdays[day]);
        file.writeBool(s, QStringLiteral("Remember"), note.Remember);
        file.writeInteger(s, QStringLiteral("RememberNo"), note.RememberNo);
        file.writeInteger(s, QStringLiteral("RememberUnit"), note.RememberUnit);
    }
    file.writeString(s, QStringLiteral("note"), encodeText(note.note));
    file.writeBool(s, QStringLiteral("scrollbar"), note.scrollbar);
    file.writeBool(s, QStringLiteral("DarkCaption"), note.DarkCaption);
    file.writeInteger(s, QStringLiteral("TrackPosition"), note.TrackPosition);
    file.writeInteger(s, QStringLiteral("posx"), note.posx);
    file.writeInteger(s, QStringLiteral("posy"), note.posy);
    file.writeInteger(s, QStringLiteral("Width"), note.Width);
    file.writeInteger(s, QStringLiteral("Height"), note.Height);
    file.writeString(s, QStringLiteral("FontName"), note.FontName);
    file.writeInteger(s, QStringLiteral("FontSize"), note.FontSize);
    file.writeInteger(s, QStringLiteral("FontColor"), note.FontColor);
    file.writeInteger(s, QStringLiteral("FontBold"), note.FontBold ? 1 : 0);
    file.writeInteger(s, QStringLiteral("FontItalic"), note.FontItalic ? 1 : 0);
    file.writeInteger(s, QStringLiteral("Color"), note.Color);
    if (!note.footer.isEmpty())
        file.writeString(s, QStringLiteral("Rodape"), note.footer);
    writeExactText(file, s, ExactCaptionKey, note.caption, false);
    writeExactText(file, s, ExactNoteKey, note.note, true);
}

QString NoteStore::encodeText(const QString& text) {
    const auto isBreak = [](QChar c) {
        return c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar::LineSeparator ||
               c == QChar::ParagraphSeparator;
    };
    if (std::none_of(text.begin(), text.end(), isBreak))
        return text;
    QString stored(text.size() * 2, Qt::Uninitialized);
    QChar* out = stored.data();
    const QChar* in = text.constData();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = in[i];
        if (isBreak(c)) {
            *out++ = QLatin1Char('\\');
            *out++ = QLatin1Char('n');
            if (c == QLatin1Char('\r') && i + 1 < size && in[i + 1] == QLatin1Char('\n'))
                ++i;
        } else {
            *out++ = c;
        }
    }
    stored.truncate(out - stored.constData());
    return stored;
}

QString NoteStore::decodeText(const QString& stored) {
    QString text = stored;
    text.replace(QLatin1String("\\n"), QLatin1String("\r\n"));
    return text;
}
