#pragma once

#include "core/notes/NotesFile.h"
#include "core/settings/GeneralSettings.h"
#include "core/settings/NetworkSettings.h"

#include <QObject>

class Clock;
class LocaleInfo;
class MessageBoxes;
class NoteCollection;
class QThread;
class QTimer;

// Keeps the notes and the settings on disk: `LoadNotes` and `SaveNotes`, the automatic
// save every `TimeAutoSave` minutes, and a save about two seconds after the last change
// to any note, so that a session that ends without warning (the display gone, the
// power cut) loses hardly anything the user typed.
//
// Saves never run inside a save (`SaveGuard`), and never without every stored note in
// memory: one asked for during the load follows it, one asked for before the load loads
// the notes first.
//
// The saves nobody waits for (after changes, and the automatic save) write in the
// background: the notes are taken as they are on the interface thread, and written and
// synced on a thread of their own, one save at a time and in order, so typing goes on
// while the disk works. A failure is reported as from any other save. Every other save
// (the menu's, at closing, before a language switch) waits for a background save first
// and then writes at once.
class NotesKeeper : public QObject {
    Q_OBJECT
public:
    // Saves follow this long after the first change not yet on disk.
    static constexpr int ChangeSaveDelayMs = 2000;

    struct Services {
        const Clock& clock;
        const LocaleInfo& locale;
        MessageBoxes& messages;
    };

    ~NotesKeeper() override;

    NotesKeeper(const QString& notesFile, const SettingsStore::Context& context,
                NoteCollection& notes, GeneralSettings& recGeral, NetworkSettings& recRede,
                const Services& services, QObject* parent = nullptr);

    // Reads the settings and adds every stored note to the collection, once per start and
    // again after every note was destroyed, with yieldBetweenNotes letting pending events
    // run after each note. Notes made meanwhile stay beside the loaded ones and are saved
    // soon. A file that exists but cannot be read is reported; it is then never written
    // over in this run, and notes go to a recovery file.
    void LoadNotes(bool yieldBetweenNotes = true);
    // Writes the settings and every note; throws TacknoteError when the file cannot be
    // written (the old file then stays as it was). Asked for while the notes load, the
    // save follows the load; asked for before the load with notes to keep, the stored
    // notes are loaded first, so the save never drops them.
    void SaveNotes();
    // SaveNotes, showing a failure to the user instead of passing it on.
    void saveReportingErrors();

    // One second of the automatic save's countdown; saves when it runs out.
    void autoSaveTick();

    // The interface language the file records (the Portuguese item's check mark).
    void setPortugueseMarked(bool marked) { m_portugueseMarked = marked; }

    bool isLoading() const { return m_loading; }
    // A background save is writing.
    bool isSaving() const { return m_saving != nullptr; }
    bool notesLoaded() const { return m_notesLoaded; }
    // After the notes were destroyed, the next LoadNotes may run.
    void forgetNotes() { m_notesLoaded = false; }
    // No more saves (the program is closing, after its last save); a background save
    // still writing is waited for.
    void stop();
    // Whether the saves nobody waits for write in the background (the default).
    void setSavesInBackground(bool on) { m_background = on; }

    const NotesFile& file() const { return m_file; }
    // The timer of the save that follows changes.
    QTimer* changeSaveTimer() const { return m_changeSave; }

    // Loads the notes, without letting other events run, unless they are loaded or
    // loading already: whatever makes a new note calls this first.
    void ensureLoaded();

Q_SIGNALS:
    // The stored notes are in the collection (before a save asked for meanwhile).
    void notesIn();
    void loadFinished();
    // The notes and settings were written.
    void saved();

private:
    int autoSaveTicks() const;
    void noteChanged();
    void changeSaveTimeout();
    QList<NoteRecord> records() const;
    // Starts writing the notes as they are now in the background; reportFailure: a failure
    // is shown to the user.
    void saveInBackground(bool reportFailure);
    // The background save has ended: takes its result.
    void backgroundSaveDone();
    // Waits for a background save still writing and takes its result.
    void finishBackgroundSave();

    // What the last load or save put on disk, so a change that is none (a window put back
    // where it was) writes nothing.
    struct Snapshot {
        GeneralSettings geral;
        NetworkSettings rede;
        QList<NoteRecord> notes;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot snapshot() const;

    NotesFile m_file;
    NoteCollection& m_notes;
    GeneralSettings& m_recGeral;
    NetworkSettings& m_recRede;
    Services m_services;
    QTimer* m_changeSave = nullptr;
    Snapshot m_onDisk;
    int m_autoSaveCountdown = 0;
    bool m_portugueseMarked = false;
    bool SaveGuard = false;
    bool m_loading = false;
    bool m_notesLoaded = false;
    bool m_stopped = false;
    // A save was asked for while the notes loaded.
    bool m_saveAfterLoad = false;

    // The background save writing now, the notes it writes, and why it failed.
    QThread* m_saving = nullptr;
    bool m_background = true;
    bool m_reportBackgroundFailure = false;
    // A change came while a background save was writing: another save follows it.
    bool m_saveAgain = false;
    QString m_backgroundError;
    Snapshot m_inFlight;

    // The last save failed: the next failure of a save nobody asked for is not shown
    // again, so a full disk does not bring up a message every two seconds.
    bool m_failing = false;
};
