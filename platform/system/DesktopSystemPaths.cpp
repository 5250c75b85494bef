#include "platform/system/DesktopSystemPaths.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>
#include <vector>

QString DesktopSystemPaths::documentsDir() const {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

QString DesktopSystemPaths::programDir() const {
    return QCoreApplication::applicationDirPath();
}

QString DesktopSystemPaths::logonUser() const {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return usableUserName(QString::fromLocal8Bit(found->pw_name));
    return usableUserName(qEnvironmentVariable("USER"));
}
