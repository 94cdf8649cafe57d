#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace hk {

// 8-bit (ANSI) text: what the platform's 8-bit calls draw and return, in the system's code page.
// The rules here take the code page as a parameter; platform/AnsiText_win.h asks the platform
// for it once and carries them out.

// How many bytes the character that a byte starts takes in the running code page: 1 for a byte
// that is a character of its own, 2 for a double-byte lead byte, up to 4 in UTF-8.
using CharacterLength = std::function<std::size_t(unsigned char)>;

// How many bytes the character that `byte` starts takes in the code page. A UTF-8 lead byte says
// so itself (2 to 4); elsewhere a byte that the platform calls a double-byte lead byte starts a
// character of 2. Any other byte is a character of its own.
std::size_t characterLength(unsigned codePage, unsigned char byte, bool isDoubleByteLead);

// Calls visit(start, length) for each character of 8-bit text, as its first byte gives its
// length. Text cut inside a character ends in one whose length reaches past the end.
template <class Visit>
void forEachCharacter(std::string_view text, const CharacterLength& characterLength, Visit visit) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t length = characterLength(static_cast<unsigned char>(text[start]));
        visit(start, length);
        start += length;
    }
}

// Whether the platform's lower case of a single byte applies to `byte`, a character of its own:
// in every code page but UTF-8, whose bytes from 0x80 on are parts of longer characters.
bool lowersAsSingleByte(unsigned codePage, unsigned char byte);

// Text converted into the code page, and whether every character survived as itself.
struct AnsiText {
    std::string text;
    bool whole;
};

// Whether a conversion into the code page is asked to be exact: a character that the code page
// lacks becomes "?" and is reported, and so does one that the platform would otherwise replace
// with a look-alike (a letter without its accent), which reads as whole text yet is not the
// text. UTF-8 and UTF-7 lack no character, and the platform refuses a conversion into them that
// asks for any of that.
bool convertsExactly(unsigned codePage);

} // namespace hk
