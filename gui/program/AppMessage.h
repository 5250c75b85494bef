#pragma once

#include <QByteArray>
#include <QObject>
#include <functional>

class NoteRegistry;
class QTimer;
class TfPostIt;

// The browser capture on the program's side. The browser extension puts the selected
// text on the clipboard and sends TacknoteMsg::Capture to the running program; the main
// window hands every message of its local socket here. A capture makes a new note, waits
// about half a second while the interface keeps running, and pastes the clipboard's text
// into the note as the note's own paste command does (plain text, within what a note
// can hold).
//
// tmrClip (5000 ms, not running until a capture) locks further captures out: a signal
// while it runs is ignored, so a burst of signals gives one note; its tick only stops it.
class AppMessage : public QObject {
    Q_OBJECT
public:
    static constexpr int LockoutMs = 5000;
    // The wait before the paste: this many steps of a pause and a round of pending events.
    static constexpr int PasteWaitSteps = 51;
    static constexpr int PasteWaitStepMs = 10;

    // newNote makes a user's new note (tryPrincipalDblClick with a sender) in registry and
    // returns it, or null when none could be made. tmrClip belongs to the main window;
    // this object sets its interval and takes its ticks.
    AppMessage(QTimer& tmrClip, const NoteRegistry& registry, std::function<TfPostIt*()> newNote,
               QObject* parent = nullptr);

    // One message of the local socket: a capture when it is TacknoteMsg::Capture and no
    // capture is locked out; any other message is left alone.
    void handle(const QByteArray& message);
    // tmrClip's tick: the lockout ends.
    void tmrClipTimer();

private:
    QTimer& m_tmrClip;
    const NoteRegistry& m_registry;
    std::function<TfPostIt*()> m_newNote;
};
