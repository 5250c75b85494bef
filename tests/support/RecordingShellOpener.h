#pragma once

#include "platform/ShellOpener.h"

#include <QList>

// Records the addresses the program asked the desktop to open; opens nothing.
class RecordingShellOpener final : public ShellOpener {
public:
    bool open(const QUrl& url) override {
        opened.append(url);
        return true;
    }
    QList<QUrl> opened;
};
