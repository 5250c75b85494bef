#include "platform/SystemPaths.h"

QString SystemPaths::usableUserName(const QString& name) {
    if (name.isEmpty() || name.size() > MaxUserNameBuffer - 1)
        return defaultUserName();
    return name;
}
