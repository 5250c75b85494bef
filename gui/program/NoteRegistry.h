#pragma once

#include "core/base/NoteFont.h"
#include "core/notes/NoteCollection.h"
#include "core/notes/NoteRecord.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <functional>

class Clock;
class DeletedNotes;
class LocaleInfo;
class MessageBoxes;
class QScreen;
class NoteHost;
class EventSounds;
class TfPostIt;
class WindowSystemHints;
struct GeneralSettings;

// The note windows: one window for each note of the note collection, made when the note
// comes and destroyed when it goes, carrying the note's number as its tag. The registry
// also makes the user's new notes and received notes, deletes notes on request, and keeps
// notes on the screens.
//
// Windows are deleted with deleteLater(): a window is taken out of the registry at once
// and freed when control is back in an event loop. That loop may be the one of a dialog
// the note's own handler opened, so such a handler checks the note is still there (a
// QPointer) before touching it after the dialog.
class NoteRegistry : public QObject {
    Q_OBJECT
public:
    static constexpr int Capacity = NoteCollection::Capacity;
    // How long a note shown in front refuses the focus while the desktop maps it.
    static constexpr int NoFocusWhileMappedMs = 1000;

    struct Services {
        const GeneralSettings& settings;
        const Clock& clock;
        const LocaleInfo& locale;
        EventSounds& sounds;
        MessageBoxes& messages;
        // Keeps the notes out of the task bar; none in tests.
        WindowSystemHints* windowHints = nullptr;
        // Where deleted notes are kept for restoring; none keeps nothing.
        DeletedNotes* deletedNotes = nullptr;
    };

    // Notes ask host for their dialogs and post their messages to messageTarget.
    NoteRegistry(NoteCollection& notes, NoteHost& host, QObject& messageTarget,
                 const Services& services, QObject* parent = nullptr);
    ~NoteRegistry() override;

    NoteCollection& collection() const { return m_notes; }
    int NoteCount() const { return m_notes.NoteCount(); }
    // The note whose alarm fired last and that the user has not looked at; -1 for none.
    int LastAlarmNote() const { return m_notes.LastAlarmNote(); }
    void setLastAlarmNote(int number) { m_notes.setLastAlarmNote(number); }

    // The window of the note in slot number; null for an empty slot or a number out of
    // range.
    TfPostIt* note(int number) const;
    // The window of a note; null when it has none.
    TfPostIt* window(const Note* note) const { return m_windows.value(note); }
    // The slot of a note window; -1 when it is not (or no longer) registered.
    int slotOf(const QObject* window) const;
    // The live notes in slot order.
    QList<TfPostIt*> notes() const;
    bool isEmpty() const { return notes().isEmpty(); }

    // A note loaded from the file, in slot NoteCount.
    TfPostIt* addLoaded(const NoteRecord& record);
    // A user's new note (tryPrincipalDblClick with a sender): placed by the series, in
    // the default colour and font, shown and activated. Null when no slot is left (the
    // user is told).
    TfPostIt* newUserNote();
    // A received note (tryPrincipalDblClick without a sender): red, twice as wide,
    // centred, in white bold Courier New 8, shown in front without taking the keyboard
    // focus. Null when no slot is left.
    TfPostIt* newReceivedNote();

    // WM_DELETENOTE: asks when the settings say so, keeps the note among the deleted
    // notes, plays the delete sound, forgets the ringing note and destroys the window.
    // When the note cannot be kept, the user is told why and asked whether to delete it
    // all the same. Nothing for an empty slot.
    void deleteNote(int number);
    // A deleted note back as it was, in slot NoteCount, shown in front on a screen. Null
    // when no slot is left (the user is told).
    TfPostIt* restoreNote(const NoteRecord& record);
    // Destroys every note and empties the registry.
    void destroyAll();
    // Shows a note and brings it to the front.
    static void showNote(TfPostIt* window);
    // Shows a note in front of the other windows but leaves the keyboard focus where it
    // is: a note that arrives must not take the keys the user is typing elsewhere.
    static void showInFront(TfPostIt* window);
    // Shows every note and brings it to the front.
    void showAll();
    // Hides every note as its own hide button does: a ringing alarm is acknowledged.
    void hideAll();
    // Hides every note when one is shown, else shows them all.
    void toggleAll();

    // Shows every note that touches no screen on the nearest one, keeping its own place
    // for the file, and brings notes back to their own places when those are on a screen
    // again; runs by itself whenever screens come, go or change their size.
    void keepOnScreens();

    // While the notes file loads, its pending notes keep their slots: a new note is made
    // only when there is room beyond them, and nothing is renumbered.
    void setLoading(bool loading, int pending = 0) { m_notes.setLoading(loading, pending); }
    // Runs before every new note is made (the notes file is loaded first when it was not).
    void setBeforeNewNote(std::function<void()> hook) { m_beforeNewNote = std::move(hook); }

    // The pseudo-random numbers 0 ... range - 1 that place new notes; the same series in
    // every run.
    int nextRandom(int range);

Q_SIGNALS:
    // A note was added, deleted, or changed something the notes file keeps.
    void notesChanged();
    // The ringing note was deleted: the tray icon's animation must stop.
    void ringingNoteDeleted();

private:
    void noteAdded(Note* note);
    void noteRemoved(Note* note);
    // The record of a new note in bounds, in color and font, with the settings' title,
    // caption shade and scroll bar.
    NoteRecord newNoteRecord(const QRect& bounds, int color, const NoteFont& font) const;
    // A new note of record in slot NoteCount, shown, and activated when asked.
    TfPostIt* addNew(const NoteRecord& record, bool activate);
    // Takes a window out of the registry and deletes it with deleteLater().
    void dispose(TfPostIt* window);
    void watchScreen(QScreen* screen);
    // Whether a note may be deleted: it was kept among the deleted notes, or the user
    // chose to delete it all the same.
    bool keepDeleted(const NoteRecord& record);
    // Tells the user that no slot is left for a new note.
    void tellRegistryFull();

    NoteCollection& m_notes;
    NoteHost& m_host;
    QObject& m_messageTarget;
    Services m_services;
    QHash<const Note*, QPointer<TfPostIt>> m_windows;
    // Windows taken out and waiting for their deletion; deleted with the registry at the
    // latest.
    QList<QPointer<TfPostIt>> m_disposed;
    quint32 m_randSeed = 0;
    std::function<void()> m_beforeNewNote;
};
