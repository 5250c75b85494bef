#pragma once

#include "platform/WindowSystemHints.h"

#include <QString>
#include <QStringList>
#include <QWidget>

// Records what the program asked the window manager about its windows; tells it nothing.
// One entry per request: "before mapping" or "on screen", followed by " on top" when the
// window then stays on top.
class RecordingWindowHints final : public WindowSystemHints {
public:
    void keepOffTaskbar(QWidget& window) override {
        record(QStringLiteral("before mapping"), window);
    }
    void keepShownWindowOffTaskbar(QWidget& window) override {
        record(QStringLiteral("on screen"), window);
    }
    void releaseSurfaceWhenIdle(QWidget&) override {}
    QStringList requests;

private:
    void record(QString request, const QWidget& window) {
        if (window.windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            request += QStringLiteral(" on top");
        requests.append(request);
    }
};
