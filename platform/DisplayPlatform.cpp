#include "platform/DisplayPlatform.h"

#include <QByteArray>
#include <QtGlobal>

namespace DisplayPlatform {

void preferX11OnWayland() {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return;
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qEnvironmentVariableIsEmpty("DISPLAY"))
        return;
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
}

} // namespace DisplayPlatform
