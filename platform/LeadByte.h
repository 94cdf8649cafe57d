#pragma once

#include <functional>

namespace hk {

// Tells whether a byte starts a double-byte character in the running 8-bit code page.
using LeadBytePredicate = std::function<bool(unsigned char)>;

} // namespace hk
