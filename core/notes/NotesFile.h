#pragma once

#include "core/notes/NoteRecord.h"
#include "core/settings/GeneralSettings.h"
#include "core/settings/NetworkSettings.h"
#include "core/settings/SettingsStore.h"

#include <QDateTime>
#include <QList>
#include <QString>

class LocaleInfo;

// The load and save sequences of the notes file: the settings, `NumStickies` and one
// "Stick<n>" section per note.
//
// Two rules keep the user's notes safe beyond the file format itself:
// - A save erases only the note sections this run has loaded or written, so notes the
//   load did not take (a count that was damaged, sections after a gap) stay in the file.
// - A file that exists but cannot be read is never written over. The load reports it
//   and every later save goes to a recovery file beside it instead
//   ("stickies.tkn.recuperado-yyyymmdd_hhnn"), once there is a note to keep.
class NotesFile {
public:
    struct Contents {
        GeneralSettings geral;
        NetworkSettings rede;
        QList<NoteRecord> notes;
    };

    NotesFile(const QString& path, const LocaleInfo& locale, const SettingsStore::Context& context);

    // Reads the settings and every note. now is the alarm time of a note whose alarm time
    // is unreadable, and names the recovery file when the file cannot be read.
    Contents load(const QDateTime& now);

    // Writes the settings and the notes, in order, as Stick0, Stick1, ... Throws
    // TacknoteError when the file cannot be written (the old file then stays as it was).
    void save(const GeneralSettings& geral, const NetworkSettings& rede, bool portugueseMarked,
              const QList<NoteRecord>& notes);

    // The notes file, as given.
    QString path() const { return m_path; }
    // Why the file could not be read at the last load; empty when it was read (or did
    // not exist).
    QString readError() const { return m_readError; }
    // Where saves go while the file cannot be read; empty otherwise.
    QString recoveryPath() const { return m_recoveryPath; }

    // How many notes a load takes: `NumStickies` (at most the registry's 101), or the
    // number of consecutive note sections from Stick0 when that is larger, so a damaged
    // or missing count loses no note.
    static int notesToLoad(IniFile& file);

private:
    QString m_path;
    const LocaleInfo& m_locale;
    SettingsStore::Context m_context;
    QString m_readError;
    QString m_recoveryPath;
    // Note sections Stick0 ... Stick<m_ownedSections - 1> hold what this run loaded or
    // wrote; only those are erased by a save.
    int m_ownedSections = 0;
};
