#pragma once

#include "platform/DesktopNotifier.h"

#include <QDBusConnection>
#include <QHash>
#include <QList>
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

private Q_SLOTS:
    void actionInvoked(uint id, const QString& action);
    void notificationClosed(uint id, uint reason);

private:
    QDBusConnection m_bus;
    // The service's signals are listened to from the first notice on, not at start.
    bool m_listening = false;
    // What each notice still on screen does when chosen, by the service's number; the
    // oldest are forgotten beyond MaxRemembered, for services that never say a notice
    // has closed.
    static constexpr int MaxRemembered = 64;
    QHash<uint, std::function<void()>> m_chosen;
    QList<uint> m_order;
};
