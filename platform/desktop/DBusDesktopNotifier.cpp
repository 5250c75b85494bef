#include "platform/desktop/DBusDesktopNotifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>
#include <utility>

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");
// The action the service runs on a click on the notice itself.
const QString DefaultAction = QStringLiteral("default");

} // namespace

DBusDesktopNotifier::DBusDesktopNotifier(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), m_bus(bus) {}

void DBusDesktopNotifier::notify(const QString& summary, const QString& body,
                                 const QString& actionLabel, std::function<void()> chosen) {
    if (!m_bus.isConnected())
        return;
    if (!std::exchange(m_listening, true)) {
        m_bus.connect(Service, Path, Interface, QStringLiteral("ActionInvoked"), this,
                      SLOT(actionInvoked(uint, QString)));
        m_bus.connect(Service, Path, Interface, QStringLiteral("NotificationClosed"), this,
                      SLOT(notificationClosed(uint, uint)));
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("tacknote")}};
    call << QStringLiteral("Tacknote") << uint(0) << QStringLiteral("tacknote") << summary
         << body.toHtmlEscaped() << QStringList{DefaultAction, actionLabel} << hints << int(-1);
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, chosen = std::move(chosen)](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                const QDBusPendingReply<uint> reply = *finished;
                if (reply.isError())
                    return;
                m_chosen.insert(reply.value(), chosen);
                m_order.append(reply.value());
                if (m_order.size() > MaxRemembered)
                    m_chosen.remove(m_order.takeFirst());
            });
}

void DBusDesktopNotifier::actionInvoked(uint id, const QString& action) {
    Q_UNUSED(action);
    // One action is offered; a service that offers the click on the notice as well
    // names it "default".
    const auto found = m_chosen.constFind(id);
    if (found == m_chosen.constEnd())
        return;
    const std::function<void()> chosen = *found;
    if (chosen)
        chosen();
}

void DBusDesktopNotifier::notificationClosed(uint id, uint reason) {
    Q_UNUSED(reason);
    m_chosen.remove(id);
    m_order.removeOne(id);
}
