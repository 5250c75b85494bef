#include "gui/dialogs/AboutLogo.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace {

// Every note is drawn on the same 64 x 64 grid as a square with its lower right corner
// folded up, then placed by the painter's transformation.
constexpr qreal NoteSize = 64.0;
constexpr qreal FoldSize = 16.0;

QPainterPath notePath() {
    QPainterPath note;
    note.moveTo(0, 0);
    note.lineTo(NoteSize, 0);
    note.lineTo(NoteSize, NoteSize - FoldSize);
    note.lineTo(NoteSize - FoldSize, NoteSize);
    note.lineTo(0, NoteSize);
    note.closeSubpath();
    return note;
}

} // namespace

void AboutLogo::drawNote(QPainter& painter, const QColor& paper, const QColor& edge,
                         const QColor& fold, bool writing) {
    const QPainterPath note = notePath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 55));
    painter.drawPath(note.translated(2.5, 2.5));
    painter.setPen(QPen(edge, 1.2));
    painter.setBrush(paper);
    painter.drawPath(note);

    QPainterPath corner;
    corner.moveTo(NoteSize, NoteSize - FoldSize);
    corner.lineTo(NoteSize - FoldSize, NoteSize - FoldSize);
    corner.lineTo(NoteSize - FoldSize, NoteSize);
    corner.closeSubpath();
    painter.setBrush(fold);
    painter.drawPath(corner);

    if (!writing)
        return;
    painter.setPen(QPen(QColor(0x90, 0x80, 0x40), 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(10, 20), QPointF(54, 20));
    painter.drawLine(QPointF(10, 30), QPointF(54, 30));
    painter.drawLine(QPointF(10, 40), QPointF(44, 40));
}

void AboutLogo::drawPin(QPainter& painter, const QPointF& head, const QColor& colour) {
    painter.setPen(QPen(QColor(0x60, 0x60, 0x60), 2.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(head, head + QPointF(0, 7));
    painter.setPen(QPen(colour.darker(220), 1.2));
    painter.setBrush(colour);
    painter.drawEllipse(head, 6.5, 6.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour.lighter(170));
    painter.drawEllipse(head + QPointF(-2.2, -2.2), 2.0, 2.0);
}

void AboutLogo::drawClock(QPainter& painter, const QPointF& centre, qreal radius) {
    const QColor red(0xE0, 0x10, 0x10);
    painter.setPen(QPen(Qt::black, 1.4));
    painter.setBrush(red);
    // The two bells, then the face over them.
    painter.drawEllipse(centre + QPointF(-radius * 0.72, -radius * 0.86), radius * 0.4,
                        radius * 0.4);
    painter.drawEllipse(centre + QPointF(radius * 0.72, -radius * 0.86), radius * 0.4,
                        radius * 0.4);
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre, centre + QPointF(0, -radius * 0.62));
    painter.drawLine(centre, centre + QPointF(radius * 0.5, radius * 0.28));
}

QPixmap AboutLogo::pixmap(qreal devicePixelRatio) {
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QPixmap picture(qRound(Width * ratio), qRound(Height * ratio));
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    // Back to front: a blue note turned left, a green one turned right, the yellow one.
    struct Placed {
        QPointF at;
        qreal angle;
        QColor paper;
        QColor pin;
    };
    const Placed back{{14, 22}, -12, QColor(0xA8, 0xD4, 0xF4), QColor(0x20, 0x60, 0xD0)};
    const Placed middle{{36, 14}, 9, QColor(0xB8, 0xEC, 0xA0), QColor(0x20, 0xA0, 0x40)};
    for (const Placed& note : {back, middle}) {
        painter.save();
        painter.translate(note.at + QPointF(NoteSize / 2, NoteSize / 2));
        painter.rotate(note.angle);
        painter.translate(-NoteSize / 2, -NoteSize / 2);
        drawNote(painter, note.paper, note.paper.darker(150), note.paper.darker(115), false);
        drawPin(painter, QPointF(NoteSize / 2, 3), note.pin);
        painter.restore();
    }
    painter.save();
    painter.translate(24, 34);
    drawNote(painter, QColor(0xFF, 0xEE, 0x55), QColor(0xB0, 0x90, 0x10), QColor(0xE8, 0xCC, 0x30),
             true);
    drawPin(painter, QPointF(NoteSize / 2, 2), QColor(0xE0, 0x20, 0x20));
    drawClock(painter, QPointF(14, 58), 10);
    painter.restore();

    // The product's name beside the notes, with a soft shadow.
    QFont name(QStringLiteral("Sans Serif"));
    name.setPixelSize(34);
    name.setBold(true);
    painter.setFont(name);
    const QRectF words(116, 0, Width - 116, Height);
    painter.setPen(QColor(0, 0, 0, 40));
    painter.drawText(words.translated(1.5, 1.5), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Tacknote"));
    painter.setPen(QColor(0x40, 0x40, 0x48));
    painter.drawText(words, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Tacknote"));
    return picture;
}
