#pragma once

#include <QString>

// Why a file operation failed, in the interface language, for the messages that tell
// the user: the common causes in words of their own, any other in the system's words.
namespace ErrorReason {

// The reason for the system error number errorNumber (an errno value).
QString text(int errorNumber);

} // namespace ErrorReason
