#pragma once

#include "platform/ShellOpener.h"

// Opens addresses through the desktop's default handlers (QDesktopServices).
class QtShellOpener final : public ShellOpener {
public:
    bool open(const QUrl& url) override;
};
