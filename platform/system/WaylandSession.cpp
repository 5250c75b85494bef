#include "platform/system/WaylandSession.h"

QByteArray WaylandSession::platformFor(const QProcessEnvironment& environment) {
    const auto isSet = [&](const char* name) {
        return !environment.value(QString::fromLatin1(name)).isEmpty();
    };
    if (isSet("QT_QPA_PLATFORM") || !isSet("DISPLAY"))
        return QByteArray();
    const bool wayland =
        isSet("WAYLAND_DISPLAY") ||
        environment.value(QStringLiteral("XDG_SESSION_TYPE")) == QLatin1String("wayland");
    return wayland ? QByteArrayLiteral("xcb") : QByteArray();
}

bool WaylandSession::preferXWayland() {
    const QByteArray platform = platformFor(QProcessEnvironment::systemEnvironment());
    if (platform.isEmpty())
        return false;
    qputenv("QT_QPA_PLATFORM", platform);
    return true;
}

void WaylandSession::forgetPreference() {
    qunsetenv("QT_QPA_PLATFORM");
}
