#pragma once

#include "platform/TrayIcon.h"

class QSystemTrayIcon;

class QtTrayIcon final : public TrayIcon {
    Q_OBJECT
public:
    explicit QtTrayIcon(QObject* parent = nullptr);

    void setIcon(const QIcon& icon) override;
    QIcon icon() const override;
    void setToolTip(const QString& text) override;
    void setMenu(QMenu* menu) override;
    void show() override;
    void hide() override;
    bool isAvailable() const override;

private:
    QSystemTrayIcon* m_tray;
};
