#include "core/notes/NoteDefaults.h"

#include "core/settings/GeneralSettings.h"
#include "platform/LocaleInfo.h"

namespace NoteDefaults {

QString defaultTitle(const GeneralSettings& settings, const QDateTime& now,
                     const LocaleInfo& locale) {
    QString title;
    if (settings.ShowDate)
        title = locale.formatDate(now.date()) + QLatin1Char(' ');
    if (settings.ShowTime)
        title += locale.formatTime(now.time());
    return title;
}

} // namespace NoteDefaults

NoteRecord NoteDefaults::newNote(const GeneralSettings& settings, const QDateTime& now,
                                 const LocaleInfo& locale, const QRect& bounds, int color,
                                 const NoteFont& font) {
    NoteRecord record;
    record.posx = bounds.x();
    record.posy = bounds.y();
    record.Width = bounds.width();
    record.Height = bounds.height();
    record.Color = color;
    record.caption = defaultTitle(settings, now, locale);
    record.FontName = font.Name;
    record.FontSize = font.Size;
    record.FontColor = font.Color;
    record.FontBold = font.Bold;
    record.FontItalic = font.Italic;
    // A new note takes the caption shade only while the setting asks for it.
    record.DarkCaption = settings.DarkCaption;
    record.TrackPosition = settings.DarkCaption ? settings.TrackPosition : 0;
    record.scrollbar = settings.ScrollBar;
    // The alarm fields of a window that never had an alarm.
    record.weekdays.fill(false);
    record.RememberNo = 0;
    record.visible = false;
    return record;
}
