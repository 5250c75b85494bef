#pragma once

#include "core/program/StartLanguage.h"
#include "platform/NativeHostFolders.h"

#include <QByteArray>
#include <QString>

// The browser entry of the capture: the registration of the capture host program with
// the browsers, one native messaging host per interface language, so the extension
// learns the language of its menu entry from the host that answers. At most one of the
// two is registered after a start; each start removes both and writes the one of the
// language chosen at start.
class CaptureRegistration {
public:
    using Language = StartLanguage::Language;
    using Browser = NativeHostFolders::Browser;

    // The host program, installed beside the executable.
    static QString hostProgramName() { return QStringLiteral("tacknote-capture"); }
    // The extension's identity, as the browsers check it before they start the host.
    static QString chromiumOrigin() {
        return QStringLiteral("chrome-extension://bdacneojoiegfgbphknfiaacpbdganab/");
    }
    static QString firefoxExtensionId() { return QStringLiteral("capture@tacknote"); }

    // "tacknote.capture.ptb" and "tacknote.capture.enu"; empty for Language::None.
    static QString hostName(Language language);
    // The menu entry's text in that language, "&" marking the access key.
    static QString caption(Language language);
    // The manifest of the host of language for a browser of that dialect.
    static QByteArray manifest(Browser browser, Language language, const QString& hostProgram);

    // hostProgram: the absolute path of the host program.
    CaptureRegistration(const NativeHostFolders& folders, QString hostProgram);

    // Removes the hosts of both languages from every browser's folder. A file that
    // cannot be removed is logged and left.
    void removeAll() const;
    // Registers the host of language with every installed browser. False when a
    // registration could not be written (logged); nothing happens for Language::None.
    bool write(Language language) const;

private:
    const NativeHostFolders& m_folders;
    QString m_hostProgram;
};
