#pragma once

#include "core/notes/Note.h"
#include "core/notes/NoteStore.h"

#include <QList>
#include <QObject>
#include <array>
#include <functional>

// The notes of the program (`NoteTable`), in their slots 0 ... 100. A note's number is its
// slot. `NoteCount` is the high-water mark of used slots: a new note always takes slot
// `NoteCount`, and an emptied slot is not used again before the next load, unless every
// slot has been handed out; then the notes are renumbered without gaps (when renumbering
// is allowed at that moment: a dialog may hold a note's number).
//
// A removed note is deleted with deleteLater(): whoever still holds it (a dialog's event
// loop, a window being closed) sees it until control is back in the event loop.
class NoteCollection : public QObject {
    Q_OBJECT
public:
    static constexpr int Capacity = NoteStore::MaxNotes;

    explicit NoteCollection(QObject* parent = nullptr);
    ~NoteCollection() override;

    int NoteCount() const { return m_noteCount; }
    // The note in slot number; null for an empty slot or a number out of range.
    Note* note(int number) const;
    // The notes in slot order.
    QList<Note*> notes() const;
    int size() const;
    bool isEmpty() const { return size() == 0; }
    // Every note's record in slot order: what the notes file keeps.
    QList<NoteRecord> records() const;

    // The note whose alarm fired last and that the user has not looked at; -1 for none.
    int LastAlarmNote() const { return m_lastAlarmNote; }
    void setLastAlarmNote(int number) { m_lastAlarmNote = number; }

    // A note loaded from the file, in slot NoteCount; null when every slot is taken.
    Note* addLoaded(const NoteRecord& record);
    // Whether a new note fits, renumbering the notes when that makes room.
    bool roomForOneMore();
    // A new note in slot NoteCount (after roomForOneMore()); null when none fits.
    Note* add(const NoteRecord& record);
    // Takes the note out of its slot and deletes it later. Nothing for an empty slot.
    void remove(int number);
    // Removes every note and empties the collection.
    void clear();

    // While the notes file loads, its pending notes keep their slots: a new note is made
    // only when there is room beyond them, and nothing is renumbered.
    void setLoading(bool loading, int pending = 0) {
        m_loading = loading;
        m_loadPending = loading ? pending : 0;
    }
    // Renumbering is allowed only while this says so (no dialog holds a note's number).
    void setRenumberAllowed(std::function<bool()> allowed) {
        m_renumberAllowed = std::move(allowed);
    }

Q_SIGNALS:
    void noteAdded(Note* note);
    // The note left its slot; it is deleted later.
    void noteRemoved(Note* note);
    // The notes got new numbers.
    void renumbered();
    // A note was added or removed, or its record changed: something the notes file keeps.
    void notesChanged();

private:
    Note* place(const NoteRecord& record);
    bool compact();

    std::array<Note*, Capacity> m_table{};
    int m_noteCount = 0;
    int m_lastAlarmNote = -1;
    bool m_loading = false;
    int m_loadPending = 0;
    std::function<bool()> m_renumberAllowed;
};
