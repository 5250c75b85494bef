#pragma once

#include <QString>

// A note font as the notes file describes it: face, size in points, colour
// (0x00BBGGRR) and style.
struct NoteFont {
    QString Name = QStringLiteral("Arial");
    int Size = 10;
    int Color = 0;
    bool Bold = false;
    bool Italic = false;

    bool operator==(const NoteFont&) const = default;
};
