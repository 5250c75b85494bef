#include "core/net/NoteProtocol.h"

#include "core/net/OutgoingNote.h"
#include "core/store/Rotinas.h"
#include "core/store/Windows1252.h"
#include "platform/LocaleInfo.h"

namespace NoteProtocol {

namespace {

const QString CommandSeparators = QStringLiteral("\r\n");

QByteArray command(const QStringList& fields) {
    return Windows1252::encode(fields.join(FieldSeparator)) + "\r\n";
}

QString flag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

QString stripLineEnd(QByteArrayView line) {
    qsizetype end = line.size();
    while (end > 0 && (line[end - 1] == '\r' || line[end - 1] == '\n'))
        --end;
    return Windows1252::decode(line.first(end));
}

QList<QStringList> splitCommands(const QString& line) {
    QList<QStringList> commands;
    QStringList pieces;
    Rotinas::SplitFields(line, CommandSeparators, false, pieces);
    for (const QString& piece : pieces) {
        QStringList fields;
        Rotinas::SplitFields(piece, QStringView(&FieldSeparator, 1), true, fields);
        commands.append(fields);
    }
    return commands;
}

bool isCommand(const QStringList& fields, QLatin1StringView name) {
    return !fields.isEmpty() && fields.front().compare(name, Qt::CaseInsensitive) == 0;
}

QString decodeText(const QString& field) {
    QString text = field;
    text.replace(QLatin1String("_^"), QLatin1String("\r\n"));
    return text;
}

QByteArray newCommand(const OutgoingNote& note, const QString& user) {
    return command({QStringLiteral("new"), user, note.caption, QString::number(note.Color),
                    QString::number(note.textWidth), QString::number(note.textHeight),
                    QString::number(note.captionColor), note.FontName,
                    QString::number(note.FontSize), QString::number(note.FontColor),
                    note.FontBold ? QStringLiteral("bold") : QStringLiteral("nobold"),
                    note.FontItalic ? QStringLiteral("italic") : QStringLiteral("noitalic")});
}

QByteArray alarmCommand(const OutgoingNote& note, const LocaleInfo& locale) {
    QStringList fields{QStringLiteral("alarm"), locale.formatDateTime(note.AlarmDateTime)};
    if (note.UseSound)
        fields << flag(true) << note.SoundFile;
    else
        fields << flag(false) << QString();
    if (note.Remember) {
        fields << flag(true) << QString::number(note.RememberNo)
               << QString::number(note.RememberUnit);
        for (const bool day : note.weekdays)
            fields << flag(day);
    }
    // Every field, the last one included, is followed by the separator.
    fields << QString();
    return command(fields);
}

QByteArray lineCommand(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('\r'), QLatin1Char('_'));
    escaped.replace(QLatin1Char('\n'), QLatin1Char('^'));
    return command({QStringLiteral("line"), escaped});
}

QByteArray endCommand() {
    return command({QStringLiteral("end"), QString()});
}

} // namespace NoteProtocol
