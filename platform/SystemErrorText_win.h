#pragma once

#include <string>

namespace hk {

// The platform's own text for an error code, without the line break it ends in; empty when the
// platform has none.
std::string systemMessageText(unsigned long code);

// "System Error.  Code: n." and the platform's text for the thread's last error code.
std::string lastSystemErrorText();

} // namespace hk
