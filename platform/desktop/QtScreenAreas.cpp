#include "platform/desktop/QtScreenAreas.h"

#include <QGuiApplication>
#include <QScreen>

QList<QRect> QtScreenAreas::availableAreas() const {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    return areas;
}

std::optional<QRect> QtScreenAreas::primaryGeometry() const {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return screen->geometry();
    return std::nullopt;
}

std::optional<QRect> QtScreenAreas::availableAreaAt(const QPoint& point) const {
    const QScreen* screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return std::nullopt;
    return screen->availableGeometry();
}
