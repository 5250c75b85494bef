#pragma once

#include "core/base/TacknoteError.h"

// A socket that cannot be set up as asked ("Unknown port 'x'", "Invalid local address
// 'y'"). The text is the whole message; callers put it into their own terms.
class SocketError : public TacknoteError {
public:
    using TacknoteError::TacknoteError;
};
