#pragma once

#include "platform/SystemPaths.h"

class DesktopSystemPaths final : public SystemPaths {
public:
    QString documentsDir() const override;
    QString programDir() const override;
    QString logonUser() const override;
};
