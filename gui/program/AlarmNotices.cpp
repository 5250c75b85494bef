#include "gui/program/AlarmNotices.h"

#include "gui/note/TfPostIt.h"
#include "gui/program/NoteRegistry.h"
#include "platform/DesktopNotifier.h"

#include <QPointer>
#include <QRegularExpression>

AlarmNotices::AlarmNotices(DesktopNotifier* notifier) : m_notifier(notifier) {}

QString AlarmNotices::bounded(const QString& text, int length) {
    if (text.size() <= length)
        return text;
    int cut = length - 1;
    // A character outside the basic plane is never split in two.
    if (cut > 0 && text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut) + QChar(0x2026);
}

QString AlarmNotices::firstLine(const QString& text) {
    static const QRegularExpression lineBreak(QStringLiteral("[\r\n]"));
    for (const QString& line : text.split(lineBreak, Qt::SkipEmptyParts)) {
        if (!line.trimmed().isEmpty())
            return line.trimmed();
    }
    return QString();
}

void AlarmNotices::alarmFired(TfPostIt* note) {
    if (!m_notifier || !note)
        return;
    const QString title = note->caption().trimmed();
    const QString summary = title.isEmpty() ? tr("Alarme de nota") : title;
    QPointer<TfPostIt> target(note);
    m_notifier->notify(bounded(summary, MaxSummaryLength),
                       bounded(firstLine(note->note()), MaxBodyLength), tr("Mostrar a nota"),
                       [target] {
                           // A note deleted since then is gone from the desktop too.
                           if (target)
                               NoteRegistry::showNote(target);
                       });
}

void AlarmNotices::todaysTasks(const QStringList& lines, std::function<void()> show) {
    if (!m_notifier || lines.isEmpty())
        return;
    m_notifier->notify(tr("Tarefas para Hoje"), bounded(lines.join(u'\n'), MaxBodyLength),
                       tr("Mostrar as tarefas"), std::move(show));
}
