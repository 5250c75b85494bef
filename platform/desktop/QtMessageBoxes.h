#pragma once

#include "platform/MessageBoxes.h"

class QtMessageBoxes final : public MessageBoxes {
public:
    void show(Icon icon, const QString& title, const QString& text) override;
    bool askYesNo(const QString& title, const QString& text) override;
};
