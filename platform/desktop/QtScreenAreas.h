#pragma once

#include "platform/ScreenAreas.h"

// The screens Qt knows.
class QtScreenAreas final : public ScreenAreas {
public:
    QList<QRect> availableAreas() const override;
    std::optional<QRect> primaryGeometry() const override;
    std::optional<QRect> availableAreaAt(const QPoint& point) const override;
};
