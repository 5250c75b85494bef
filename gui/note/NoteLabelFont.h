#pragma once

#include <QFont>

// The font of a note's caption and footer labels: "Small Fonts" at 9 pixels.
namespace NoteLabelFont {

inline QFont font(bool bold, bool italic) {
    QFont font(QStringLiteral("Small Fonts"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(9);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

} // namespace NoteLabelFont
