#include "note/NoteDefaults.h"

#include "platform/LocaleInfo.h"
#include "store/TRecGeral.h"

namespace NoteDefaults {

QString defaultTitle(const TRecGeral& settings, const QDateTime& now, const LocaleInfo& locale) {
    QString title;
    if (settings.ShowDate)
        title = locale.formatDate(now.date()) + QLatin1Char(' ');
    if (settings.ShowTime)
        title += locale.formatTime(now.time());
    return title;
}

} // namespace NoteDefaults
