#include "platform/desktop/ScaledWindowSizeHints.h"

#include <QPlatformSurfaceEvent>
#include <QWindow>

bool ScaledWindowSizeHints::eventFilter(QObject* watched, QEvent* event) {
    // Sent when the native window exists, before it is mapped.
    if (event->type() == QEvent::PlatformSurface &&
        static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() ==
            QPlatformSurfaceEvent::SurfaceCreated) {
        auto* window = qobject_cast<QWindow*>(watched);
        if (window && window->isTopLevel() && !window->baseSize().isValid())
            window->setBaseSize(QSize(0, 0));
    }
    return QObject::eventFilter(watched, event);
}
