#pragma once

#include <QColor>

// Conversion between Windows colour values (0x00BBGGRR, red in the lowest byte) and
// QColor. The high byte of a Windows value is ignored; the result is always opaque.
class WinColor {
public:
    static QColor toQColor(int winColor);
    static int fromQColor(const QColor& color);
};
