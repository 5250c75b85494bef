#include "core/program/CaptureRegistration.h"

#include "platform/system/DurableFile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString manifestFile(const QString& folder, const QString& host) {
    return QDir(folder).filePath(host + QStringLiteral(".json"));
}

} // namespace

QString CaptureRegistration::hostName(Language language) {
    switch (language) {
    case Language::Portuguese:
        return QStringLiteral("tacknote.capture.ptb");
    case Language::English:
        return QStringLiteral("tacknote.capture.enu");
    case Language::None:
        break;
    }
    return QString();
}

QString CaptureRegistration::caption(Language language) {
    // Each registration keeps its own language whatever the interface shows now.
    switch (language) {
    case Language::Portuguese:
        return QStringLiteral("Copiar para o T&acknote");
    case Language::English:
        return QStringLiteral("Copy to T&acknote");
    case Language::None:
        break;
    }
    return QString();
}

QByteArray CaptureRegistration::manifest(Browser browser, Language language,
                                         const QString& hostProgram) {
    QJsonObject object{
        {QStringLiteral("name"), hostName(language)},
        {QStringLiteral("description"), caption(language)},
        {QStringLiteral("path"), hostProgram},
        {QStringLiteral("type"), QStringLiteral("stdio")},
    };
    if (browser == Browser::Chromium)
        object.insert(QStringLiteral("allowed_origins"), QJsonArray{chromiumOrigin()});
    else
        object.insert(QStringLiteral("allowed_extensions"), QJsonArray{firefoxExtensionId()});
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

CaptureRegistration::CaptureRegistration(const NativeHostFolders& folders, QString hostProgram)
    : m_folders(folders), m_hostProgram(std::move(hostProgram)) {}

void CaptureRegistration::removeAll() const {
    for (const NativeHostFolders::Folder& folder : m_folders.folders()) {
        for (const Language language : {Language::Portuguese, Language::English}) {
            QFile file(manifestFile(folder.path, hostName(language)));
            if (file.exists() && !file.remove())
                qWarning("Tacknote: cannot remove the browser entry %s: %s",
                         qPrintable(file.fileName()), qPrintable(file.errorString()));
        }
    }
}

bool CaptureRegistration::write(Language language) const {
    if (language == Language::None)
        return true;
    bool written = true;
    for (const NativeHostFolders::Folder& folder : m_folders.folders()) {
        // A browser this user never ran has no folder of its own yet; none is made for it.
        if (!folder.installed)
            continue;
        const QString path = manifestFile(folder.path, hostName(language));
        QString error;
        if (!QDir().mkpath(folder.path)) {
            error = QStringLiteral("cannot create the folder");
        } else if (DurableFile::write(path, manifest(folder.browser, language, m_hostProgram),
                                      &error)) {
            continue;
        }
        qWarning("Tacknote: cannot write the browser entry %s: %s", qPrintable(path),
                 qPrintable(error));
        written = false;
    }
    return written;
}
