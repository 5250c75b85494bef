#pragma once

#include "platform/DesktopNotifier.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>

// Posts notices through the freedesktop.org notification service on a D-Bus bus
// (org.freedesktop.Notifications). Posting never waits: without a service, or with one
// that answers with an error, the notice is dropped.
class DBusDesktopNotifier final : public QObject, public DesktopNotifier {
    Q_OBJECT
public:
    explicit DBusDesktopNotifier(const QDBusConnection& bus, QObject* parent = nullptr);

    void notify(const QString& summary, const QString& body, const QString& actionLabel,
                std::function<void()> chosen) override;

    // The service reads markup in a body; the body is shown as the text it is.
    static QString plainBody(const QString& text);

private Q_SLOTS:
    void actionInvoked(uint id, const QString& action);
    void notificationClosed(uint id, uint reason);

private:
    QDBusConnection m_bus;
    // What each notice still on screen does when chosen, by the service's number.
    QHash<uint, std::function<void()>> m_chosen;
};
