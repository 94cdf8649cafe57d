#pragma once

#include "platform/AnsiText.h"

#include <optional>
#include <string>
#include <string_view>

namespace hk {

// UTF-8 text in the system's 8-bit code page, the one that DrawTextA draws and GetWindowTextA
// returns; characters that the code page lacks become "?".
std::string toSystemAnsi(const std::string& utf8);

// Wide text in the system's 8-bit code page, or none when the platform cannot convert it. Raises
// nothing, so that it can word the platform's own errors.
std::optional<AnsiText> wideToSystemAnsi(std::wstring_view wide);

// How many bytes the character that a byte starts takes in the system's 8-bit code page.
std::size_t ansiLeadByteLength(unsigned char byte);

// One byte of 8-bit text in lower case, by the platform's rules for the system's code page.
unsigned char toLowerAnsi(unsigned char byte);

} // namespace hk
