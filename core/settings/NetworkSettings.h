#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// Network, mail and block-list settings (section "Network" of the notes file). Each
// field's keys and default are declared once, in the table of SettingsStore.cpp, and a
// new record holds those defaults. A field without its entry there would be neither
// stored nor given a value.
//
// SMTPSecurity (key "SMTPSecurity" in "network", written after the block list; the Windows
// program neither reads nor writes it and leaves it in place) says how mail is protected:
//   0  STARTTLS when the server offers it, else plain text (the default, also when the
//      key is missing or holds anything else)
//   1  STARTTLS required: no mail without it
//   2  TLS from the first byte (SMTPS, usually port 465)
//   3  no encryption
// Certificates are always checked; a failed check ends the sending unless the user has
// chosen to trust that very certificate for that server.
//
// TrustedCerts (keys "TrustedCert_" + server + ":" + port number in "network", written
// after SMTPSecurity, one for each server; left in place by the Windows program): the
// SHA-256 fingerprint, in lowercase hexadecimal, of the certificate the user trusts for
// that mail server although it does not verify (self-signed, issued for another name).
// A server that later shows another certificate is asked about again.
struct NetworkSettings {
    NetworkSettings();

    bool Enabled;
    QString SMTPServer;
    QString SMTPPort;
    int Authtype;
    QString Email;
    QString Username;
    QString Password;
    int Blocktype;
    QStringList BlockList;
    QString PortTCP;
    int SMTPSecurity;
    QMap<QString, QString> TrustedCerts; // server:port -> fingerprint

    // The key of a server in TrustedCerts: the host name in lower case, ":", the port.
    static QString serverKey(const QString& host, int port) {
        return host.trimmed().toLower() + QLatin1Char(':') + QString::number(port);
    }

    bool operator==(const NetworkSettings&) const = default;
};
