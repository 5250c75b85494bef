#include "platform/system/DesktopNativeHostFolders.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString configHomeOf(const QString& home) {
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    // Only an absolute path counts; anything else is to be ignored.
    if (!configured.isEmpty() && QDir::isAbsolutePath(configured))
        return configured;
    return QDir(home).filePath(QStringLiteral(".config"));
}

} // namespace

DesktopNativeHostFolders::DesktopNativeHostFolders()
    : DesktopNativeHostFolders(QDir::homePath(), configHomeOf(QDir::homePath())) {}

DesktopNativeHostFolders::DesktopNativeHostFolders(QString home, QString configHome)
    : m_home(std::move(home)), m_configHome(std::move(configHome)) {}

QList<NativeHostFolders::Folder> DesktopNativeHostFolders::folders() const {
    const auto folder = [](Browser browser, const QString& profile, const QString& hosts) {
        return Folder{browser, QDir(profile).filePath(hosts), QFileInfo(profile).isDir()};
    };
    const QDir config(m_configHome);
    const QDir home(m_home);
    return {
        folder(Browser::Chromium, config.filePath(QStringLiteral("google-chrome")),
               QStringLiteral("NativeMessagingHosts")),
        folder(Browser::Chromium, config.filePath(QStringLiteral("chromium")),
               QStringLiteral("NativeMessagingHosts")),
        folder(Browser::Firefox, home.filePath(QStringLiteral(".mozilla")),
               QStringLiteral("native-messaging-hosts")),
    };
}
