#pragma once

#include <string>

namespace hk {

// UTF-8 text in the system's 8-bit code page, the one that DrawTextA draws and GetWindowTextA
// returns; characters that the code page lacks become "?".
std::string toSystemAnsi(const std::string& utf8);

// Whether a byte starts a double-byte character in the system's 8-bit code page.
bool isAnsiLeadByte(unsigned char byte);

// One byte of 8-bit text in lower case, by the platform's rules for the system's code page.
unsigned char toLowerAnsi(unsigned char byte);

} // namespace hk
