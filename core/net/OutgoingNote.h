#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>

// What a sending transmits of one note: the look of its text area and caption bar, its
// alarm and reminder, and its text as the lines the note window displays.
struct OutgoingNote {
    QString caption;
    int Color = 0;     // colour of the text area, 0x00BBGGRR
    int textWidth = 0; // size of the text area (not of the window), pixels
    int textHeight = 0;
    int captionColor = 0; // colour of the caption bar
    QString FontName;
    int FontSize = 0;
    int FontColor = 0;
    bool FontBold = false;
    bool FontItalic = false;

    bool alarm = false;
    QDateTime AlarmDateTime;
    bool UseSound = false;
    QString SoundFile;
    bool Remember = false;
    int RememberNo = 0;
    int RememberUnit = 0;
    std::array<bool, 7> weekdays{}; // Dia1 (Sunday) first

    // One entry per displayed line: a paragraph the window wraps gives several.
    QStringList lines;
};
