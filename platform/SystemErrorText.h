#pragma once

#include <string>

namespace hk {

// The message of a failed window class registration or window creation: the code and the
// platform's text for it.
std::string systemErrorText(unsigned long code, const std::string& systemText);

} // namespace hk
