#pragma once

// The note one program instance sends to another in the two-instance test, and the
// settings of both ends.

#include "core/net/OutgoingNote.h"

#include <QString>

namespace TwoInstances {

inline constexpr const char* ReceiverAddress = "10.77.0.1";
inline constexpr const char* SenderAddress = "10.77.0.2";
inline constexpr const char* Port = "7801";

inline QString senderName() {
    return QStringLiteral("Jos\u00E9 da Concei\u00E7\u00E3o");
}

// soundFile must exist on the receiving computer, or the receiver puts its default
// sound in its place.
inline OutgoingNote note(const QString& soundFile) {
    OutgoingNote note;
    note.caption = QStringLiteral("Reuni\u00E3o de sexta");
    note.Color = 0x00C0FFC0;
    note.textWidth = 210;
    note.textHeight = 120;
    note.captionColor = 0x0080C080;
    note.FontName = QStringLiteral("Courier New");
    note.FontSize = 12;
    note.FontColor = 0x00800000;
    note.FontBold = true;
    note.FontItalic = true;
    note.alarm = true;
    note.AlarmDateTime = QDateTime(QDate(2031, 3, 14), QTime(9, 45, 30));
    note.UseSound = true;
    note.SoundFile = soundFile;
    note.Remember = true;
    note.RememberNo = 3;
    note.RememberUnit = 1;
    note.weekdays = {false, true, false, true, false, true, false};
    note.lines = {QStringLiteral("Pauta:"), QStringLiteral("- or\u00E7amento \u00E0s 10h"),
                  QString(), QStringLiteral("- or\u00E7amento \u00E0s 10h"), QStringLiteral("fim")};
    return note;
}

} // namespace TwoInstances
