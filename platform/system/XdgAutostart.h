#pragma once

#include "platform/SessionAutostart.h"

#include <QByteArray>
#include <QString>

// The start with the session of freedesktop.org desktops: an entry "tacknote.desktop"
// in the autostart folder of the user's configuration folder ($XDG_CONFIG_HOME,
// ~/.config when unset). The entry is written when turned on and removed when turned
// off; an entry the desktop's own settings switched off (Hidden=true or
// X-GNOME-Autostart-enabled=false) counts as off.
class XdgAutostart final : public SessionAutostart {
public:
    // configHome is the user's configuration folder; programPath the executable the
    // session is to start.
    XdgAutostart(QString configHome, QString programPath);

    // The user's configuration folder as the desktop names it.
    static QString userConfigHome();
    // The path to start programPath by: the installation's bin/ link to it
    // (".../bin/tacknote" for ".../lib/tacknote/tacknote") when there is one, so the
    // entry names the command users know; programPath itself otherwise.
    static QString launcherFor(const QString& programPath);

    // configHome + "/autostart/tacknote.desktop".
    QString entryPath() const;

    bool isEnabled() const override;
    void setEnabled(bool on) override;

    // The entry that starts the program (UTF-8).
    static QByteArray entryText(const QString& programPath);
    // One argument of an Exec line: quoted when it holds a blank or a reserved
    // character, with the escapes desktop entries require, so the launcher passes it on
    // unchanged.
    static QString execArgument(const QString& argument);

private:
    QString m_configHome;
    QString m_programPath;
};
