#pragma once

#include <QString>
#include <QStringList>

// Network, mail and block-list settings (section "Network" of the notes file).
struct TRecRede {
    bool Enabled = false;
    QString SMTPServer;
    QString SMTPPort;
    int Authtype = 0;
    QString Email;
    QString Username;
    QString Password;
    int Blocktype = 0;
    QStringList BlockList;
    QString PortTCP;

    bool operator==(const TRecRede&) const = default;
};
