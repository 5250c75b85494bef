#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

// F1 opens the help at the place that speaks of the window the user is in. Installed on
// the application, it takes the key in any window of the program that names its place
// in the help (HelpTopics), or lies in one that does, and hands the place on; anywhere
// else the key goes its way.
class HelpKey final : public QObject {
    Q_OBJECT
public:
    HelpKey(std::function<void(const QString& topic)> showHelp, QObject* parent = nullptr);

    // The place of the help for widget: that named by widget or the nearest window around
    // it that names one; none when no window around it does.
    static std::optional<QString> topicOf(const QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const QString& topic)> m_showHelp;
};
