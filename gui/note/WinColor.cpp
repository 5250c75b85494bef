#include "gui/note/WinColor.h"

QColor WinColor::toQColor(int winColor) {
    const auto value = static_cast<unsigned>(winColor);
    return QColor(static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                  static_cast<int>((value >> 16) & 0xFFu));
}

int WinColor::fromQColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16);
}
