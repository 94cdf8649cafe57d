#pragma once

#include <string>

namespace hk {

// UTF-8 text in the 8-bit code page of the running thread; characters that the code page lacks
// become "?".
std::string toThreadAnsi(const std::string& utf8);

} // namespace hk
