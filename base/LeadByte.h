#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace hk {

// How many bytes the character that a byte starts takes in the running 8-bit code page: 1 for a
// byte that is a character of its own, 2 for a double-byte lead byte, up to 4 in UTF-8.
using LeadByteLength = std::function<std::size_t(unsigned char)>;

// Calls visit(start, length) for each character of 8-bit text, as its first byte gives its
// length. Text cut inside a character ends in one whose length reaches past the end.
template <class Visit>
void forEachCharacter(std::string_view text, const LeadByteLength& leadByteLength, Visit visit) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t length = leadByteLength(static_cast<unsigned char>(text[start]));
        visit(start, length);
        start += length;
    }
}

} // namespace hk
