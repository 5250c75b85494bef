#pragma once

#include "core/mail/SmtpTypes.h"

#include <QEvent>

// The notice through which a request's end reaches the session's caller from the event
// loop, never from inside the call that ended it.
class SmtpRequestDoneEvent : public QEvent {
public:
    static constexpr int MessageNumber = 1025; // the first user message number + 1
    static constexpr QEvent::Type Kind = QEvent::Type(QEvent::User + MessageNumber);

    SmtpRequestDoneEvent(TSmtpRequest rqType, quint16 error)
        : QEvent(Kind), rqType(rqType), error(error) {}

    TSmtpRequest rqType;
    quint16 error;
};
