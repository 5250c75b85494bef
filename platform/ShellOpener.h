#pragma once

#include <QUrl>

// Hands an address to the desktop, which opens it in the user's browser or mail program.
class ShellOpener {
public:
    virtual ~ShellOpener() = default;

    // Opening is not waited for; false when the desktop refused the address at once.
    virtual bool open(const QUrl& url) = 0;
};
