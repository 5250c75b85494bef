#pragma once

#include "core/notes/NoteRecord.h"

// The notes the configuration dialog's tests open it for: one without alarm, and one with
// every alarm field set (a reminder every 15 weeks on Mondays, Wednesdays and Fridays,
// with a sound).
inline NoteRecord plainNote() {
    NoteRecord note;
    note.caption = QStringLiteral("Comprar pão");
    note.Color = 0x80FFFF;
    note.FontName = QStringLiteral("Arial");
    note.FontSize = 10;
    note.FontColor = 0x000080;
    note.AlarmDateTime = QDateTime(QDate(2002, 1, 1), QTime(9, 0));
    return note;
}

inline NoteRecord armedNote() {
    NoteRecord note = plainNote();
    note.alarm = true;
    note.AlarmDateTime = QDateTime(QDate(2003, 1, 10), QTime(8, 15, 30));
    note.UseSound = true;
    note.SoundFile = QStringLiteral("/sons/alarme.wav");
    note.weekdays = {false, true, false, true, false, true, false};
    note.Remember = true;
    note.RememberNo = 15;
    note.RememberUnit = 3;
    return note;
}
