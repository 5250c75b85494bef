#include "core/notes/NoteListCaption.h"

namespace {

const QString Separator = QStringLiteral(" — ");
const QChar Ellipsis(0x2026);

// Cut after the last word that leaves room for the ellipsis; a first word too long for
// that is cut where it must be.
QString shortened(const QString& full) {
    qsizetype end = full.lastIndexOf(QLatin1Char(' '), NoteListCaption::MaxLength - 1);
    if (end <= 0) {
        end = NoteListCaption::MaxLength - 1;
        if (full.at(end - 1).isHighSurrogate())
            --end;
    }
    QString kept = full.left(end);
    if (kept.endsWith(Separator.trimmed()))
        kept = kept.chopped(Separator.trimmed().size()).trimmed();
    return kept + Ellipsis;
}

} // namespace

QString NoteListCaption::oneLine(QString text) {
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    return text.simplified();
}

QString NoteListCaption::of(const QString& caption, const QString& note) {
    return plain(caption, note).replace(QLatin1Char('&'), QLatin1String("&&"));
}

QString NoteListCaption::plain(const QString& caption, const QString& note) {
    const QString title = oneLine(caption);
    const QString words = oneLine(note);
    QString full = title;
    if (!title.isEmpty() && !words.isEmpty())
        full += Separator;
    full += words;
    if (full.size() > MaxLength)
        full = shortened(full);
    return full;
}
