#pragma once

#include <QList>
#include <QString>

// The per-user folders in which the web browsers look for the manifests of native
// messaging hosts, the programs an extension may talk to over standard input and output.
class NativeHostFolders {
public:
    // The two manifest dialects: the Chromium family names the extensions allowed to
    // call the host by origin, Firefox by extension id.
    enum class Browser { Chromium, Firefox };

    struct Folder {
        Browser browser;
        QString path;   // the manifests' folder
        bool installed; // the browser has been used by this user (its profile folder exists)
    };

    virtual ~NativeHostFolders() = default;
    virtual QList<Folder> folders() const = 0;
};
