#pragma once

#include <QDateTime>
#include <QString>
#include <array>

// One note as the notes file stores it; fields are named after their keys. The note
// text holds its line breaks as CR LF.
struct NoteRecord {
    QString caption;
    bool visible = true;
    bool topmost = false;
    bool alarm = false;
    QDateTime AlarmDateTime;
    bool UseSound = false;
    QString SoundFile;
    std::array<bool, 7> weekdays{true, true, true, true, true, true, true}; // Dia1 (Sunday) first
    bool Remember = false;
    int RememberNo = 1;
    int RememberUnit = 0;
    QString note;
    bool scrollbar = false;
    bool DarkCaption = false;
    int TrackPosition = 12;
    int posx = 400;
    int posy = 100;
    int Width = 180;
    int Height = 147;
    QString FontName = QStringLiteral("Arial");
    int FontSize = 10;
    int FontColor = 0;
    bool FontBold = false;
    bool FontItalic = false;
    int Color = 0x7BFFFF;
    QString footer;

    bool operator==(const NoteRecord&) const = default;
};
