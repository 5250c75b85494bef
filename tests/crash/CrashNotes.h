#pragma once

#include "core/notes/NoteRecord.h"
#include "core/notes/NotesFile.h"
#include "core/settings/SettingsStore.h"

#include <QList>
#include <QString>
#include <optional>

class LocaleInfo;

// The notes of the crash-safety runs: the registry's 101 notes, each text as long as the
// notes file stores (2047 characters in its stored form, with line breaks and accented
// letters), every note naming the save ("generation") that wrote it, so a file read back
// tells which save it holds.
class CrashNotes {
public:
    static constexpr int Count = 101;

    static QList<NoteRecord> records(qint64 generation);
    static NoteRecord record(qint64 generation, int note);

    // Settings under which the real program starts quietly and saves only when told:
    // no sounds, no network, no automatic save, no backup, no tray notice.
    static GeneralSettings settings(const SettingsStore::Context& context);
    static NetworkSettings network();

    // The Brazilian locale every run reads and writes dates with.
    static const LocaleInfo& locale();

    // Reads a notes file as the program does and answers the generation its notes carry;
    // nothing, with the reason in *problem, unless the file holds exactly the 101 notes
    // of one generation.
    static std::optional<qint64>
    savedGeneration(const QString& path, const SettingsStore::Context& context, QString* problem);

    // The deleted notes of the crash-safety runs: save g keeps note g % Count of
    // generation g as deleted at deletedAt(g), so the file holds saves g, g - 1, ...
    // (at most the last DeletedNotes::MaxKept), the newest first.
    static QDateTime deletedAt(qint64 generation);
    // Reads a deleted-notes file as the program does and answers the last save it holds;
    // 0 for a file that does not exist; nothing, with the reason in *problem, unless the
    // file holds exactly the notes of the saves up to that one.
    static std::optional<qint64> deletedGeneration(const QString& path, QString* problem);

    // The temporary files an interrupted save leaves beside the notes file.
    static QStringList leftovers(const QString& notesFile);
};
