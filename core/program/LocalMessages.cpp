#include "core/program/LocalMessages.h"

#include "core/program/TacknoteMsg.h"
#include "platform/system/SingleInstance.h"

#include <utility>

LocalMessages::LocalMessages(Handlers handlers, QObject* parent)
    : QObject(parent), m_handlers(std::move(handlers)) {}

void LocalMessages::setChannel(SingleInstance* channel) {
    if (m_channel)
        disconnect(m_channel, nullptr, this, nullptr);
    m_channel = channel;
    if (m_channel)
        connect(m_channel, &SingleInstance::messageReceived, this, &LocalMessages::received);
}

void LocalMessages::start() {
    m_started = true;
    for (const QByteArray& message : std::exchange(m_pending, {}))
        received(message);
}

void LocalMessages::close() {
    m_closed = true;
    if (m_channel)
        m_channel->close();
}

void LocalMessages::received(const QByteArray& message) {
    if (m_closed)
        return;
    if (!m_started) {
        // Kept within reason: a flood before the load would only fill the memory.
        if (m_pending.size() < MaxPendingMessages)
            m_pending.append(message);
        else
            qWarning("Tacknote: too many messages before the notes were loaded; one is lost.");
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, message] { handle(message); }, Qt::QueuedConnection);
}

void LocalMessages::handle(const QByteArray& message) {
    if (m_closed)
        return;
    if (!m_started) {
        received(message);
        return;
    }
    if (message == TacknoteMsg::Activate)
        m_handlers.activate();
    else if (message == TacknoteMsg::NewNote)
        m_handlers.newNote(QString());
    else if (const std::optional<QString> text = TacknoteMsg::noteTextOf(message))
        m_handlers.newNote(*text);
    else if (message == TacknoteMsg::Show)
        m_handlers.show();
    else if (message == TacknoteMsg::Hide)
        m_handlers.hide();
    else if (message == TacknoteMsg::Toggle)
        m_handlers.toggle();
    else if (message == TacknoteMsg::Quit)
        m_handlers.quit();
    else
        m_handlers.other(message);
}
