#pragma once

#include <cstdint>

namespace hk {

// A window as the core sees it: the platform's handle carried as a number; 0 is no window.
using WindowHandle = std::uintptr_t;

} // namespace hk
