#pragma once

#include <QString>
#include <QStringList>

class LocaleInfo;
class ReceivedNoteSink;

// Carries out the note commands of a received line on a note of the registry: the
// fields of "new", "alarm" and "line", and "end". A missing or faulty field throws
// ProtocolError after the steps before it have been done.
//
// What a peer sends is data only: texts go to the note as plain text, a sound file is
// taken only when it is an absolute path to a readable regular file here (otherwise
// the program's default sound), and the note's text is kept within what the notes file
// can store (see appendLine).
class ReceivedNoteBuilder {
public:
    // The text received so far for the note in progress.
    struct TextBudget {
        qsizetype stored = 0; // characters of the text in its stored form
        qsizetype lines = 0;
        bool full = false; // the text has reached the limit; further lines are dropped
    };
    enum class Appended { Whole, Cut, Dropped };

    // Name of the default alarm sound in soundDir, the folder of the program's shipped
    // sounds, looked for without regard to letter case.
    static constexpr char DefaultSound[] = "boing.WAV";

    ReceivedNoteBuilder(ReceivedNoteSink& sink, const LocaleInfo& locale, QString soundDir);

    // Creates the note of a "new"; -1 when the registry has no room.
    int begin();
    // The remaining steps of "new" for the note begin() created.
    void fillNew(int note, const QStringList& fields, const QString& peerAddress);
    void applyAlarm(int note, const QStringList& fields);
    // Adds the text of a "line" command unless the note's stored text would then be
    // longer than a notes-file value may be (IniFile::MaxValueLength): the line that
    // would pass the limit is cut to fit and every further line is dropped.
    Appended appendLine(int note, const QStringList& fields, TextBudget& budget);
    void end(int note);

    // The sound file to use for one a peer named.
    QString soundFileFor(const QString& received) const;
    // "De " + sender + " (" + address + ")", "De " in the language in use.
    static QString footer(const QString& sender, const QString& address);

private:
    ReceivedNoteSink& m_sink;
    const LocaleInfo& m_locale;
    QString m_soundDir;
};
