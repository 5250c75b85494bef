#pragma once

#include "platform/TrayIcon.h"

#include <QList>
#include <QMenu>
#include <QPointer>

// A tray icon the test clicks itself; it remembers the icons it was given.
class FakeTrayIcon final : public TrayIcon {
public:
    void setIcon(const QIcon& icon) override {
        m_icon = icon;
        icons.append(icon.cacheKey());
    }
    QIcon icon() const override { return m_icon; }
    void setToolTip(const QString& text) override { toolTip = text; }
    void setMenu(QMenu* m) override { menu = m; }
    void show() override { visible = true; }
    void hide() override { visible = false; }
    bool isAvailable() const override { return available; }

    void click() { Q_EMIT activated(Activation::Click); }
    void doubleClick() { Q_EMIT activated(Activation::DoubleClick); }

    QString toolTip;
    QPointer<QMenu> menu;
    bool visible = false;
    bool available = true;
    QList<qint64> icons;

private:
    QIcon m_icon;
};
