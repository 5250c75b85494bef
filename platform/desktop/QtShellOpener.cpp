#include "platform/desktop/QtShellOpener.h"

#include <QDesktopServices>

bool QtShellOpener::open(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}
