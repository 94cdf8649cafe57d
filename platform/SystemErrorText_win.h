#pragma once

#include "platform/SystemErrorText.h"

namespace hk {

// Raises SystemError for the thread's last error code, worded as the caller's users expect.
[[noreturn]] void raiseLastError(SystemErrorWording wording);

} // namespace hk
