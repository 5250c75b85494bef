#pragma once

#include "core/base/NoteFont.h"

#include <QFont>

// A note font as a Qt font: face, size in points (a size below 1 leaves the default) and
// style; the colour is painted separately.
namespace NoteFonts {

inline QFont toQFont(const NoteFont& font) {
    QFont qfont(font.Name);
    if (font.Size > 0)
        qfont.setPointSize(font.Size);
    qfont.setBold(font.Bold);
    qfont.setItalic(font.Italic);
    return qfont;
}

} // namespace NoteFonts
