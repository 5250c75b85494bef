#include "gui/note/NoteIcons.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QtMath>
#include <algorithm>
#include <array>

namespace {

constexpr std::array<int, 7> kIconSizes{16, 22, 24, 32, 48, 64, 128};
constexpr std::array<int, 2> kNoteWindowIconSizes{16, 32};

} // namespace

QPixmap NoteIcons::clockFace(const QColor& face) {
    // Drawn for the sharpest screen, so it stays crisp on a scaled one; drawn once per
    // colour and scale, every note's caption bar sharing the picture.
    const qreal scale = qGuiApp ? std::max<qreal>(1.0, qGuiApp->devicePixelRatio()) : 1.0;
    const QString key = QStringLiteral("tacknote-clock-%1-%2").arg(face.rgba(), 0, 16).arg(scale);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    pixmap = QPixmap(qCeil(14 * scale), qCeil(13 * scale));
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    // Pixel-exact drawing: a 12 x 11 face with a one-pixel black rim, one pixel in from
    // the left and top of the image.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(face);
    painter.drawEllipse(QRect(1, 1, 11, 10));
    // Two white hands in a V, meeting at the centre of the face.
    painter.setPen(QPen(Qt::white, 1));
    const QPoint centre(6, 7);
    painter.drawLine(centre, QPoint(4, 3));
    painter.drawLine(centre, QPoint(9, 4));
    painter.end();
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

QPixmap NoteIcons::alarmSet() {
    return clockFace(QColor(0xE0, 0x10, 0x10));
}

QPixmap NoteIcons::alarmRinging() {
    return clockFace(QColor(0x10, 0x40, 0xE0));
}

QPixmap NoteIcons::programPixmap(int size, bool withClock) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, true);
    // Drawn on a 32 x 32 grid and scaled to the requested size.
    painter.scale(size / 32.0, size / 32.0);

    // Shadow, then the note with its lower right corner folded up.
    QPainterPath note;
    note.moveTo(4, 6);
    note.lineTo(28, 6);
    note.lineTo(28, 23);
    note.lineTo(21, 30);
    note.lineTo(4, 30);
    note.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 70));
    painter.drawPath(note.translated(1.2, 1.2));
    painter.setPen(QPen(QColor(0xB0, 0x90, 0x10), 0.8));
    painter.setBrush(QColor(0xFF, 0xEE, 0x55));
    painter.drawPath(note);

    QPainterPath fold;
    fold.moveTo(28, 23);
    fold.lineTo(21, 23);
    fold.lineTo(21, 30);
    fold.closeSubpath();
    painter.setBrush(QColor(0xE8, 0xCC, 0x30));
    painter.drawPath(fold);

    // A few lines of writing.
    painter.setPen(QPen(QColor(0x90, 0x80, 0x40), 1.2));
    painter.drawLine(QPointF(8, 14), QPointF(24, 14));
    painter.drawLine(QPointF(8, 18.5), QPointF(24, 18.5));
    painter.drawLine(QPointF(8, 23), QPointF(18, 23));

    // The pin: a red head with a light spot and a short grey needle.
    painter.setPen(QPen(QColor(0x60, 0x60, 0x60), 1.4));
    painter.drawLine(QPointF(16, 7), QPointF(16, 10));
    painter.setPen(QPen(QColor(0x80, 0x00, 0x00), 0.8));
    painter.setBrush(QColor(0xE0, 0x20, 0x20));
    painter.drawEllipse(QPointF(16, 5), 3.6, 3.6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xFF, 0xB0, 0xB0));
    painter.drawEllipse(QPointF(14.9, 3.9), 1.1, 1.1);

    if (withClock) {
        // A red alarm clock over the lower left part of the note.
        painter.setPen(QPen(Qt::black, 1.2));
        painter.setBrush(QColor(0xE0, 0x10, 0x10));
        painter.drawEllipse(QPointF(7.5, 6.5 + 16), 3, 3);
        painter.drawEllipse(QPointF(14.5, 6.5 + 16), 3, 3);
        painter.drawEllipse(QPointF(11, 25), 8, 8);
        painter.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(11, 25), QPointF(11, 20));
        painter.drawLine(QPointF(11, 25), QPointF(15, 27));
    }
    return pixmap;
}

QIcon NoteIcons::programIcon() {
    static const QIcon icon = [] {
        QIcon drawn;
        for (int size : kIconSizes)
            drawn.addPixmap(programPixmap(size, false));
        return drawn;
    }();
    return icon;
}

QIcon NoteIcons::noteWindowIcon() {
    static const QIcon icon = [] {
        QIcon drawn;
        for (int size : kNoteWindowIconSizes)
            drawn.addPixmap(programPixmap(size, false));
        return drawn;
    }();
    return icon;
}

QList<QIcon> NoteIcons::trayAlarmFrames() {
    static const QIcon ringing = [] {
        QIcon drawn;
        for (int size : kIconSizes)
            drawn.addPixmap(programPixmap(size, true));
        return drawn;
    }();
    return {ringing, programIcon()};
}
