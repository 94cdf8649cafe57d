#pragma once

#include <cstddef>
#include <string>

namespace hk {

// Text converted into the system's 8-bit code page, and whether every character survived:
// characters that the code page lacks become "?".
struct AnsiText {
    std::string text;
    bool whole;
};

// Whether a conversion into the code page may put a default character in place of one the code
// page lacks. UTF-8 and UTF-7 lack none, and the platform refuses to convert into them when asked
// for a default character or whether one was used.
bool takesDefaultCharacter(unsigned codePage);

// How many bytes the character that `byte` starts takes in the code page. A UTF-8 lead byte says
// so itself (2 to 4); elsewhere a byte that the platform calls a double-byte lead byte starts a
// character of 2. Any other byte is a character of its own.
std::size_t characterLength(unsigned codePage, unsigned char byte, bool isDoubleByteLead);

// Whether the platform's lower case of a single byte applies to `byte`, a character of its own:
// in every code page but UTF-8, whose bytes from 0x80 on are parts of longer characters.
bool lowersAsSingleByte(unsigned codePage, unsigned char byte);

} // namespace hk
