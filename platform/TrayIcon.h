#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

class QMenu;

// The program's icon in the desktop's notification area.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    enum class Activation { Click, DoubleClick };

    using QObject::QObject;

    virtual void setIcon(const QIcon& icon) = 0;
    virtual QIcon icon() const = 0;
    virtual void setToolTip(const QString& text) = 0;
    // The menu opened by the right mouse button.
    virtual void setMenu(QMenu* menu) = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
    // Whether the desktop shows tray icons at all (an X11 tray or a D-Bus notifier host);
    // it can change while the program runs.
    virtual bool isAvailable() const = 0;

Q_SIGNALS:
    void activated(TrayIcon::Activation activation);
};
