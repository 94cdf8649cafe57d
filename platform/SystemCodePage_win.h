#pragma once

#include "platform/AnsiText.h"

#include <optional>
#include <string_view>

namespace hk {

// The system's 8-bit code page, the one that DrawTextA draws and GetWindowTextA returns.
unsigned systemCodePage();

// Wide text in the system's 8-bit code page, or none when the platform cannot convert it: a failed
// conversion raises nothing here, since the platform's own errors are worded with it.
std::optional<AnsiText> wideToSystemAnsi(std::wstring_view wide);

} // namespace hk
