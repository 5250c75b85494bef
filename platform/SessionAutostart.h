#pragma once

// Whether the program starts by itself when the user's desktop session begins.
class SessionAutostart {
public:
    virtual ~SessionAutostart() = default;

    virtual bool isEnabled() const = 0;
    // Turns the start with the session on or off, for this copy of the program when on;
    // throws TacknoteError when the system refuses the change, which then leaves the
    // state as it was.

    virtual void setEnabled(bool on) = 0;
};
