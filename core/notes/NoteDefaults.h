#pragma once

#include "core/base/NoteFont.h"

#include "core/notes/NoteRecord.h"

#include <QDateTime>
#include <QRect>
#include <QString>

class LocaleInfo;
struct GeneralSettings;

// The design values of a note window and of the two kinds of new note: the user's own
// (placed by the series, in the default colour and font) and a note received from
// another computer (red, twice as wide, centred, in white bold Courier New 8).
namespace NoteDefaults {

// The note window as designed.
inline constexpr int DesignWidth = 170;
inline constexpr int DesignHeight = 120;
inline constexpr int DesignColor = 0x7BFFFF;

// A user's new note lands at a pseudo-random place 0 ... PlacementRange - 1 from the
// top-left corner of the desktop.
inline constexpr int PlacementRange = 100;

inline constexpr int ReceivedColor = 255; // red, 0x00BBGGRR
inline constexpr int ReceivedWidth = 2 * DesignWidth;
inline constexpr int ReceivedHeight = DesignHeight;
inline NoteFont receivedFont() {
    return NoteFont{QStringLiteral("Courier New"), 8, 0xFFFFFF, true, false};
}

// The title of a new note: the date in the locale's short format and a blank when
// ShowDate is on, then the time in its long format when ShowTime is on.
QString defaultTitle(const GeneralSettings& settings, const QDateTime& now,
                     const LocaleInfo& locale);

// The record of a new note in bounds, in color and font, with the settings' title at now,
// caption shade and scroll bar, hidden until it is shown.
NoteRecord newNote(const GeneralSettings& settings, const QDateTime& now, const LocaleInfo& locale,
                   const QRect& bounds, int color, const NoteFont& font);

} // namespace NoteDefaults
