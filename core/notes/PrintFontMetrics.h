#pragma once

#include <QStringView>

// Measures text for the plain-text print layout. Fonts are named by an index the
// caller chooses; all sizes are in the device pixels of the page being laid out.
class PrintFontMetrics {
public:
    virtual ~PrintFontMetrics() = default;

    // Height of a line of text in the font.
    virtual double textHeight(int font) const = 0;
    // Width of the string when drawn in the font.
    virtual double textWidth(int font, QStringView text) const = 0;
    // Average width of one character of the font.
    virtual double averageCharWidth(int font) const = 0;
};
