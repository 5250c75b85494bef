#pragma once

#include <QString>
#include <functional>

// Posts notices to the desktop's notification service, outside the program's windows.
// Where the desktop runs no such service, a notice goes nowhere and nothing is reported.
class DesktopNotifier {
public:
    virtual ~DesktopNotifier() = default;

    // Posts one notice: a summary, a body of plain text, and one action captioned
    // actionLabel; chosen is called when the user picks the notice or its action.
    virtual void notify(const QString& summary, const QString& body, const QString& actionLabel,
                        std::function<void()> chosen) = 0;
};
