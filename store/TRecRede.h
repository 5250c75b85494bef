#pragma once

#include <QString>
#include <QStringList>

// Network, mail and block-list settings (section "Network" of the notes file).
//
// SMTPSecurity (key "SMTPSecurity" in "network", written after the block list; the Windows
// program neither reads nor writes it and leaves it in place) says how mail is protected:
//   0  STARTTLS when the server offers it, else plain text (the default, also when the
//      key is missing or holds anything else)
//   1  STARTTLS required: no mail without it
//   2  TLS from the first byte (SMTPS, usually port 465)
//   3  no encryption
// Certificates are always checked; a failed check ends the sending.
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
    int SMTPSecurity = 0;

    bool operator==(const TRecRede&) const = default;
};
