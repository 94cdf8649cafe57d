#pragma once

#include <cstddef>
#include <string>

namespace hk {

// UTF-8 text in the system's 8-bit code page, the one that DrawTextA draws and GetWindowTextA
// returns; characters that the code page lacks become "?".
std::string toSystemAnsi(const std::string& utf8);

// How many bytes the character that a byte starts takes in the system's 8-bit code page.
std::size_t ansiLeadByteLength(unsigned char byte);

// One byte of 8-bit text in lower case, by the platform's rules for the system's code page; a byte
// of a longer UTF-8 character stays as it is.
unsigned char toLowerAnsi(unsigned char byte);

} // namespace hk
