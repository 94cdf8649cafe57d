#pragma once

#include "platform/SystemErrorText.h"

namespace hk {

// The message of a failed platform call with that error code, worded as the caller's users expect.
std::string systemErrorMessage(unsigned long code, SystemErrorWording wording);

// Raises SystemError for that error code, worded as the caller's users expect.
[[noreturn]] void raiseSystemError(unsigned long code, SystemErrorWording wording);

// Raises SystemError for the thread's last error code, worded as the caller's users expect.
[[noreturn]] void raiseLastError(SystemErrorWording wording);

} // namespace hk
