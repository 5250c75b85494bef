#pragma once

#include <QEvent>
#include <QPointer>

// The messages a note window posts to the main window. They are always posted, never
// sent, so the note's own event handler has returned before the main window acts.
class NoteMessage final : public QEvent {
public:
    // Delete the note named by noteNumber().
    static constexpr QEvent::Type WM_DELETENOTE = static_cast<QEvent::Type>(QEvent::User + 101);
    // Stop the tray icon's alarm animation.
    static constexpr QEvent::Type WM_STOPALARM = static_cast<QEvent::Type>(QEvent::User + 102);

    // The note names itself by its number; it may pass itself as well, so the message
    // still reaches the right note when the registry renumbered the notes meanwhile.
    NoteMessage(QEvent::Type type, int noteNumber, QObject* note = nullptr)
        : QEvent(type), m_noteNumber(noteNumber), m_note(note), m_hasNote(note != nullptr) {}

    int noteNumber() const { return m_noteNumber; }
    // Whether the note passed itself, and that note while it still exists.
    bool namesNote() const { return m_hasNote; }
    QObject* note() const { return m_note; }

private:
    int m_noteNumber;
    QPointer<QObject> m_note;
    bool m_hasNote;
};
