#pragma once

#include <QCoreApplication>
#include <QStringList>
#include <functional>

class DesktopNotifier;
class TfPostIt;

// The desktop notices that go with an alarm and with today's tasks shown at start, so
// the user learns of them also when the note lies behind other windows or the desktop
// shows no tray. Without a notification service nothing is posted.
class AlarmNotices {
    Q_DECLARE_TR_FUNCTIONS(AlarmNotices)
public:
    // Notes and peers choose these texts: a notice shows only their start.
    static constexpr int MaxSummaryLength = 80;
    static constexpr int MaxBodyLength = 200;

    explicit AlarmNotices(DesktopNotifier* notifier);

    // The note's title and first line; choosing the notice brings the note up, when it
    // still exists.
    void alarmFired(TfPostIt* note);
    // The lines of today's tasks; choosing the notice runs show.
    void todaysTasks(const QStringList& lines, std::function<void()> show);

    // The text cut to at most length characters, an ellipsis marking the cut.
    static QString bounded(const QString& text, int length);
    // The first line of a note's text that holds more than blanks; empty for none.
    static QString firstLine(const QString& text);

private:
    DesktopNotifier* m_notifier;
};
