#pragma once

#include <QList>
#include <QRect>
#include <optional>

// The screens of the desktop, as much as the rules of notes need of them.
class ScreenAreas {
public:
    virtual ~ScreenAreas() = default;

    // Each screen's available area (without panels).
    virtual QList<QRect> availableAreas() const = 0;
    // The primary screen's full geometry; nothing without a screen.
    virtual std::optional<QRect> primaryGeometry() const = 0;
    // The available area of the screen holding point, or else of the primary screen;
    // nothing without a screen.
    virtual std::optional<QRect> availableAreaAt(const QPoint& point) const = 0;
};
