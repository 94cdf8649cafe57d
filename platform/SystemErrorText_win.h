#pragma once

#include <string>

namespace hk {

// "System Error.  Code: n." and the platform's text for the thread's last error code.
std::string lastSystemErrorText();

} // namespace hk
