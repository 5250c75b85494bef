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
