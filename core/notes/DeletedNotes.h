#pragma once

#include "core/notes/NoteRecord.h"

#include <QDateTime>
#include <QList>
#include <QString>

class Clock;
class IniFile;
class LocaleInfo;

// The notes the user deleted, kept so that they can be restored: every field and the
// exact text of each, with the moment it was deleted, the newest first. At most the last
// MaxKept deleted notes are kept, none deleted more than MaxAgeDays days ago.
//
// They live in a file of their own beside the notes file, never in the notes file itself.
// It is laid out like a notes file, through the same INI layer and the same note keys:
// "NumStickies" in "General", then one "Stick<n>" section per note, Stick0 the newest,
// each with the key "DeletedAt" (ISO 8601 local time) added. Its writes are as
// crash-safe as the notes file's (IniFile over DurableFile; a new file is readable by its
// owner only), and a file that exists but cannot be read is never written over. What it
// holds is read as untrusted: at most MaxKept notes, each within the INI layer's limits.
class DeletedNotes {
public:
    static constexpr int MaxKept = 50;
    static constexpr int MaxAgeDays = 30;
    static constexpr const char* FileName = "notas-excluidas.tkn";
    static constexpr const char* DeletedAtKey = "DeletedAt";

    struct Entry {
        NoteRecord record;
        QDateTime deletedAt;
        bool operator==(const Entry&) const = default;
    };

    DeletedNotes(const QString& path, const Clock& clock, const LocaleInfo& locale);

    // Removes what an interrupted write of the file left beside it; once at start, while
    // nothing else writes it.
    void removeLeftovers() const;

    // The file of the deleted notes beside a notes file.
    static QString besideNotesFile(const QString& notesFile);
    QString path() const { return m_path; }

    // The kept notes, the newest first, within the limits at the clock's now. Throws
    // TacknoteError when the file exists but cannot be read.
    QList<Entry> entries() const;
    // Keeps note as deleted now, leaving out what falls beyond the limits. Throws
    // TacknoteError when the file cannot be read or written; it then stays as it was.
    void keep(const NoteRecord& note);
    // Leaves out the given entries (restored notes); throws as keep() does.
    void forget(const QList<Entry>& restored);

    // The note as it comes back at now: an alarm whose time has passed is off until the
    // user sets it again.
    static NoteRecord restored(const Entry& entry, const QDateTime& now);

private:
    // The entries the file holds within the limits; throws when it cannot be read.
    QList<Entry> read(IniFile& file) const;
    // Replaces the file's notes with entries and writes it.
    void write(IniFile& file, const QList<Entry>& entries) const;
    // Drops what the limits leave out of entries, newest first: older than MaxAgeDays,
    // beyond MaxKept.
    QList<Entry> withinLimits(QList<Entry> entries) const;

    QString m_path;
    const Clock& m_clock;
    const LocaleInfo& m_locale;
};
