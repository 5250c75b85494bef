#pragma once

#include "core/base/TacknoteError.h"

// An error of the mail session that its caller must see at once ("SMTP component not
// ready", "RcptName list is empty", ...). The text is the whole message.
class SmtpException : public TacknoteError {
public:
    using TacknoteError::TacknoteError;
};
