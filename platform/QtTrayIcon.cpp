#include "platform/QtTrayIcon.h"

#include <QMenu>
#include <QSystemTrayIcon>

QtTrayIcon::QtTrayIcon(QObject* parent) : TrayIcon(parent), m_tray(new QSystemTrayIcon(this)) {
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        // The context menu opens by itself on the right button and raises no click.
        if (r == QSystemTrayIcon::Trigger)
            Q_EMIT activated(Activation::Click);
        else if (r == QSystemTrayIcon::DoubleClick)
            Q_EMIT activated(Activation::DoubleClick);
    });
}

void QtTrayIcon::setIcon(const QIcon& icon) {
    m_tray->setIcon(icon);
}

QIcon QtTrayIcon::icon() const {
    return m_tray->icon();
}

void QtTrayIcon::setToolTip(const QString& text) {
    m_tray->setToolTip(text);
}

void QtTrayIcon::setMenu(QMenu* menu) {
    m_tray->setContextMenu(menu);
}

void QtTrayIcon::show() {
    m_tray->show();
}

void QtTrayIcon::hide() {
    m_tray->hide();
}

bool QtTrayIcon::isAvailable() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}
