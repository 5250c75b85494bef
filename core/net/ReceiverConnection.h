#pragma once

#include "core/net/ReceiverSession.h"
#include "platform/system/AcceptedConnection.h"

#include <memory>

// A connection of the note receiver: the socket and the session that handles what
// arrives on it.
class ReceiverConnection : public AcceptedConnection {
    Q_OBJECT
public:
    explicit ReceiverConnection(QObject* parent = nullptr) : AcceptedConnection(parent) {}

    // Made when the connection is accepted.
    std::unique_ptr<ReceiverSession> session;
};
