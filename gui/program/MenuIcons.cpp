#include "gui/program/MenuIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

namespace {

const QColor Outline(0x30, 0x30, 0x38);
const QColor Face(0xFA, 0xFA, 0xF4);
const QColor NoteYellow(0xFF, 0xE8, 0x50);
const QColor Accent(0x2A, 0x7A, 0xD8);
const QColor Green(0x2E, 0xA0, 0x4A);
const QColor Red(0xD8, 0x3A, 0x2E);

// A sticky note on the 16 x 16 grid.
void note(QPainter& p, const QRectF& r) {
    QPainterPath path;
    path.moveTo(r.topLeft());
    path.lineTo(r.topRight());
    path.lineTo(r.right(), r.bottom() - 3);
    path.lineTo(r.right() - 3, r.bottom());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    p.setBrush(NoteYellow);
    p.drawPath(path);
}

void draw(QPainter& p, MenuIcons::Picture picture) {
    using MenuIcons::Picture;
    p.setPen(QPen(Outline, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    switch (picture) {
    case Picture::NewNote:
        note(p, QRectF(1.5, 2.5, 11, 11));
        p.setPen(QPen(Green, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 8.5), QPointF(12, 14.5));
        p.drawLine(QPointF(9, 11.5), QPointF(15, 11.5));
        break;
    case Picture::Show:
        note(p, QRectF(4.5, 1.5, 10, 10));
        note(p, QRectF(1.5, 4.5, 10, 10));
        break;
    case Picture::TodaysTasks: {
        p.setBrush(Face);
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setPen(QPen(Accent, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 8), QPointF(8, 4));
        p.drawLine(QPointF(8, 8), QPointF(11, 9.5));
        break;
    }
    case Picture::Save:
        p.setBrush(Accent);
        p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
        p.setBrush(Face);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.drawRect(QRectF(3.5, 9.5, 9, 5));
        break;
    case Picture::AddressBook:
        p.setBrush(Red);
        p.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 1, 1);
        p.setBrush(Face);
        p.drawEllipse(QRectF(6, 4, 4, 4));
        p.drawChord(QRectF(4.5, 8.5, 7, 6), 0, 180 * 16);
        break;
    case Picture::Preferences: {
        QPainterPath gear;
        for (int i = 0; i < 8; ++i) {
            const qreal a = i * M_PI / 4;
            const qreal b = a + M_PI / 8;
            const QPointF outer1(8 + 6.8 * qCos(a - 0.2), 8 + 6.8 * qSin(a - 0.2));
            const QPointF outer2(8 + 6.8 * qCos(a + 0.2), 8 + 6.8 * qSin(a + 0.2));
            const QPointF inner(8 + 4.8 * qCos(b), 8 + 4.8 * qSin(b));
            if (i == 0)
                gear.moveTo(outer1);
            else
                gear.lineTo(outer1);
            gear.lineTo(outer2);
            gear.lineTo(inner);
        }
        gear.closeSubpath();
        p.setBrush(QColor(0xB8, 0xBC, 0xC4));
        p.drawPath(gear);
        p.setBrush(Face);
        p.drawEllipse(QRectF(5.5, 5.5, 5, 5));
        break;
    }
    case Picture::Web:
        p.setBrush(Accent);
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setPen(QPen(Face, 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(5, 2, 6, 12));
        p.drawLine(QPointF(2, 8), QPointF(14, 8));
        p.drawLine(QPointF(3.5, 4.8), QPointF(12.5, 4.8));
        p.drawLine(QPointF(3.5, 11.2), QPointF(12.5, 11.2));
        break;
    case Picture::Help: {
        p.setBrush(Accent);
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        QFont font;
        font.setPixelSize(11);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Face);
        p.drawText(QRectF(1.5, 1.5, 13, 13), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    case Picture::Exit:
        p.setBrush(Face);
        p.drawRect(QRectF(1.5, 1.5, 8, 13));
        p.setPen(QPen(Red, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(6, 8), QPointF(14, 8));
        p.drawLine(QPointF(11, 5), QPointF(14, 8));
        p.drawLine(QPointF(11, 11), QPointF(14, 8));
        break;
    }
}

} // namespace

namespace MenuIcons {

QIcon icon(Picture picture) {
    QIcon result;
    for (const int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.scale(size / 16.0, size / 16.0);
        draw(painter, picture);
        painter.end();
        result.addPixmap(pixmap);
    }
    return result;
}

} // namespace MenuIcons
