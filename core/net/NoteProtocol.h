#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

class LocaleInfo;
struct OutgoingNote;

// The line protocol in which notes travel between two computers. Text is Windows-1252,
// one byte per character, so byte and character positions are the same. A command is
// one line of fields separated by the byte 0xA2 ("¢"); the sender follows each command
// by an empty line, so two equal text lines in a row both arrive.
namespace NoteProtocol {

inline constexpr QChar FieldSeparator{u'\u00A2'};
// Sent with CR LF to every accepted connection.
inline constexpr char Banner[] = "Tacknote waiting for commands...";
// The answer to "help", exactly these bytes (LF before CR) and no further line end.
inline constexpr char HelpText[] = "Commands are:\n\r  new\n\r  exit\n\r  reply\n\r";
// Bytes of a line that are interpreted; the rest is lost.
inline constexpr int MaxLineLength = 255;

// ---- Receiving

// A received line as text, without the CR and LF bytes at its end.
QString stripLineEnd(QByteArrayView line);
// The commands of a line and their fields: only its first 255 characters count; it is
// cut into commands at every CR or LF (empty ones dropped) and each command into fields
// at every "¢" (empty ones kept, also after a final "¢").
QList<QStringList> splitCommands(const QString& line);
// Whether field 0 is the command name, compared without regard to letter case.
bool isCommand(const QStringList& fields, QLatin1StringView name);
// Text of a "line" command as it goes into the note: every "_^" becomes CR LF.
QString decodeText(const QString& field);

// ---- Sending: each command line ends in CR LF; the sender adds the empty line.

QByteArray newCommand(const OutgoingNote& note, const QString& user);
// Only for a note with an alarm; the date and time in the locale's short date and long
// time formats.
QByteArray alarmCommand(const OutgoingNote& note, const LocaleInfo& locale);
// One text line; CR becomes "_" and LF "^".
QByteArray lineCommand(const QString& text);
QByteArray endCommand();

} // namespace NoteProtocol
