#pragma once

#include "platform/NativeHostFolders.h"

// Google Chrome, Chromium and Firefox for the user: "google-chrome" and "chromium" in
// the configuration folder ($XDG_CONFIG_HOME, else ~/.config), ".mozilla" in the home
// folder.
class DesktopNativeHostFolders final : public NativeHostFolders {
public:
    // The user's own folders.
    DesktopNativeHostFolders();
    // The same layout below other folders.
    DesktopNativeHostFolders(QString home, QString configHome);

    QList<Folder> folders() const override;

private:
    QString m_home;
    QString m_configHome;
};
