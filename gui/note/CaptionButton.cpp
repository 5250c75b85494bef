#include "gui/note/CaptionButton.h"

#include <QPainter>

CaptionButton::CaptionButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

void CaptionButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.setBrush(isDown() ? QColor(0xd0, 0xd0, 0xd0) : QColor(Qt::white));
    painter.drawRect(frame);
    painter.setPen(Qt::black);
    painter.drawText(rect(), Qt::AlignCenter, text());
}
