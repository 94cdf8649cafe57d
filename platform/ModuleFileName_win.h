#pragma once

#include <string>
#include <windows.h>

namespace hk {

// The full path of a module's file in the 8-bit code page; nullptr names the executable.
std::string moduleFileName(HMODULE module);

} // namespace hk
