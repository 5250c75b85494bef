#include "core/program/HelpTopics.h"

QString HelpTopics::ofContext(int helpContext) {
    switch (helpContext) {
    case 1:
        return QStringLiteral("note");
    case 2:
        return QStringLiteral("appearance");
    case 3:
        return QStringLiteral("alarms");
    case 4:
        return QStringLiteral("sounds");
    case 5:
        return QStringLiteral("general");
    case 6:
        return QStringLiteral("network");
    case 7:
        return QStringLiteral("address-book");
    case 8:
        return QStringLiteral("email");
    case 9:
        return QStringLiteral("send");
    default:
        return QString();
    }
}
