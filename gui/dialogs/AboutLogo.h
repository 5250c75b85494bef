#pragma once

#include <QPixmap>

class QPainter;

// The picture of the about box, drawn in code in the style of the program icon: three
// pinned notes, the front one yellow with a few lines of writing and a red alarm clock,
// beside the product's name.
class AboutLogo {
public:
    // Logical size of the picture.
    static constexpr int Width = 316;
    static constexpr int Height = 112;

    // The picture for a screen with this device pixel ratio (sharp on high-density screens).
    static QPixmap pixmap(qreal devicePixelRatio = 1.0);

private:
    static void drawNote(QPainter& painter, const QColor& paper, const QColor& edge,
                         const QColor& fold, bool writing);
    static void drawPin(QPainter& painter, const QPointF& head, const QColor& colour);
    static void drawClock(QPainter& painter, const QPointF& centre, qreal radius);
};
