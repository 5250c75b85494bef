#pragma once

#include <QCoreApplication>
#include <QUrl>

class MessageBoxes;
class ShellOpener;

// Hands an address to the desktop and tells the user when the desktop could not open
// it, so a click on a link never ends in silence.
class LinkOpener {
    Q_DECLARE_TR_FUNCTIONS(LinkOpener)
public:
    LinkOpener(ShellOpener& shell, MessageBoxes& messages);

    // False, after telling the user, when the desktop refused the address.
    bool open(const QUrl& url);

private:
    ShellOpener& m_shell;
    MessageBoxes& m_messages;
};
