#pragma once

// What the preferences need of the note listener: after OK it listens exactly when the
// network functions are on.
class NoteServerControl {
public:
    virtual ~NoteServerControl() = default;

    // Starts listening on the port of the settings; a listener already listening goes on
    // unchanged. Throws TacknoteError, with a text for the user, when it cannot listen.
    virtual void StartNoteServer() = 0;
    // Closes the listener; nothing happens when it is not listening.
    virtual void StopNoteServer() = 0;
};
