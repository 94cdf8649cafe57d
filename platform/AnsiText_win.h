#pragma once

#include "platform/AnsiText.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hk {

// The system's 8-bit code page, the one that DrawTextA draws and GetWindowTextA returns.
unsigned systemCodePage();

// Wide text in the system's code page, exactly (convertsExactly) or not; none when the platform
// cannot convert it, with its reason as the thread's last error. Raises nothing, since the
// platform's own error texts are converted with it.
std::optional<AnsiText> wideToSystemAnsi(std::wstring_view wide, bool exact);

// UTF-8 text in the system's code page, with "?" for the characters that it lacks; none when the
// platform cannot convert it, with its reason as the thread's last error.
std::optional<std::string> toSystemAnsi(const std::string& utf8);

// Each of the characters as the system's code page writes it, leaving out those that it lacks.
std::vector<std::string> systemCharacters(std::wstring_view characters);

// How many bytes the character that a byte starts takes in the system's code page.
std::size_t systemCharacterLength(unsigned char byte);

// One byte of 8-bit text in lower case, by the platform's rules for the system's code page; a byte
// of a longer UTF-8 character stays as it is.
unsigned char toLowerAnsi(unsigned char byte);

} // namespace hk
