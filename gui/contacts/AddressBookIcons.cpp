#include "gui/contacts/AddressBookIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>

namespace {

constexpr std::array<int, 5> kSizes{16, 22, 24, 32, 48};

const QColor kCardFill(0x5B, 0x9B, 0xE0);
const QColor kCardLine(0x1F, 0x4E, 0x8C);
const QColor kPaper(0xF4, 0xF7, 0xFB);
const QColor kGreen(0x3C, 0xB0, 0x4A);
const QColor kGreenLine(0x1D, 0x6B, 0x27);
const QColor kRed(0xE0, 0x3C, 0x32);
const QColor kRedLine(0x86, 0x1A, 0x14);
const QColor kYellow(0xF2, 0xC2, 0x3A);
const QColor kYellowLine(0x8A, 0x64, 0x08);

// A round badge in the lower right corner, on which the signs are drawn.
void drawBadge(QPainter& painter, const QColor& fill, const QColor& line) {
    painter.setPen(QPen(line, 1.5));
    painter.setBrush(fill);
    painter.drawEllipse(QPointF(23, 23), 7.5, 7.5);
}

} // namespace

QIcon AddressBookIcons::newContact() {
    return icon(Picture::New);
}

QIcon AddressBookIcons::editContact() {
    return icon(Picture::Edit);
}

QIcon AddressBookIcons::deleteContact() {
    return icon(Picture::Delete);
}

QIcon AddressBookIcons::closeBook() {
    return icon(Picture::Close);
}

QIcon AddressBookIcons::icon(Picture picture) {
    QIcon icon;
    for (int size : kSizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing, true);
        // Drawn on a 32 x 32 grid and scaled to the size asked for.
        painter.scale(size / 32.0, size / 32.0);
        draw(painter, picture);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void AddressBookIcons::drawCard(QPainter& painter) {
    // The card, and on it a person's head and shoulders.
    painter.setPen(QPen(kCardLine, 1.5));
    painter.setBrush(kCardFill);
    painter.drawRoundedRect(QRectF(2.5, 5.5, 24, 19), 3, 3);
    painter.setPen(QPen(kCardLine, 1.2));
    painter.setBrush(kPaper);
    painter.drawEllipse(QPointF(10.5, 12), 3.5, 3.5);
    QPainterPath shoulders;
    shoulders.moveTo(4.5, 22.5);
    shoulders.cubicTo(4.5, 15.5, 16.5, 15.5, 16.5, 22.5);
    shoulders.closeSubpath();
    painter.drawPath(shoulders);
    // Two lines of writing beside the person.
    painter.setPen(QPen(kPaper, 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(19, 11), QPointF(23.5, 11));
    painter.drawLine(QPointF(19, 15.5), QPointF(23.5, 15.5));
}

void AddressBookIcons::draw(QPainter& painter, Picture picture) {
    switch (picture) {
    case Picture::New:
        drawCard(painter);
        drawBadge(painter, kGreen, kGreenLine);
        painter.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(23, 19), QPointF(23, 27));
        painter.drawLine(QPointF(19, 23), QPointF(27, 23));
        return;
    case Picture::Delete:
        drawCard(painter);
        drawBadge(painter, kRed, kRedLine);
        painter.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(20, 20), QPointF(26, 26));
        painter.drawLine(QPointF(26, 20), QPointF(20, 26));
        return;
    case Picture::Edit: {
        drawCard(painter);
        // A pencil lying from the lower left corner of the badge to its upper right.
        QPainterPath pencil;
        pencil.moveTo(15, 30);
        pencil.lineTo(16.5, 25);
        pencil.lineTo(27, 14.5);
        pencil.lineTo(30.5, 18);
        pencil.lineTo(20, 28.5);
        pencil.closeSubpath();
        painter.setPen(QPen(kYellowLine, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(kYellow);
        painter.drawPath(pencil);
        // Its point, bare wood with a dark tip.
        QPainterPath point;
        point.moveTo(15, 30);
        point.lineTo(16.5, 25);
        point.lineTo(20, 28.5);
        point.closeSubpath();
        painter.setBrush(QColor(0xF3, 0xD9, 0xA8));
        painter.drawPath(point);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kYellowLine);
        painter.drawEllipse(QPointF(15.6, 29.4), 1.0, 1.0);
        return;
    }
    case Picture::Close: {
        // A closed book: blue cover, pages showing along the right edge, a ribbon.
        painter.setPen(QPen(kCardLine, 1.5));
        painter.setBrush(kPaper);
        painter.drawRoundedRect(QRectF(7.5, 3.5, 19, 25), 2, 2);
        painter.setBrush(kCardFill);
        painter.drawRoundedRect(QRectF(4.5, 2.5, 19, 25), 2, 2);
        painter.setPen(QPen(kCardLine, 1.2));
        painter.drawLine(QPointF(8, 3), QPointF(8, 27));
        painter.setPen(QPen(kRedLine, 1));
        painter.setBrush(kRed);
        QPainterPath ribbon;
        ribbon.moveTo(17, 2.5);
        ribbon.lineTo(17, 12);
        ribbon.lineTo(18.75, 10.5);
        ribbon.lineTo(20.5, 12);
        ribbon.lineTo(20.5, 2.5);
        painter.drawPath(ribbon);
        drawBadge(painter, kGreen, kGreenLine);
        painter.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(
            std::array<QPointF, 3>{QPointF(19.5, 23), QPointF(22, 25.8), QPointF(26.5, 20)}.data(),
            3);
        return;
    }
    }
}
