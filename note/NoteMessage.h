#pragma once

#include <QEvent>

// The messages a note window posts to the main window. They are always posted, never
// sent, so the note's own event handler has returned before the main window acts.
class NoteMessage final : public QEvent {
public:
    // Delete the note named by noteNumber().
    static constexpr QEvent::Type WM_DELETENOTE = static_cast<QEvent::Type>(QEvent::User + 101);
    // Stop the tray icon's alarm animation.
    static constexpr QEvent::Type WM_STOPALARM = static_cast<QEvent::Type>(QEvent::User + 102);

    NoteMessage(QEvent::Type type, int noteNumber) : QEvent(type), m_noteNumber(noteNumber) {}

    int noteNumber() const { return m_noteNumber; }

private:
    int m_noteNumber;
};
