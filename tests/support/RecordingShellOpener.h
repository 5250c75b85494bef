#pragma once

#include "platform/ShellOpener.h"

#include <QList>

// Records the addresses the program asked the desktop to open; opens nothing. With
// refuses set it plays a desktop with no program for any address.
class RecordingShellOpener final : public ShellOpener {
public:
    bool open(const QUrl& url) override {
        opened.append(url);
        return !refuses;
    }
    QList<QUrl> opened;
    bool refuses = false;
};
