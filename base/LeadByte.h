#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace hk {

// Tells whether a byte starts a double-byte character in the running 8-bit code page.
using LeadBytePredicate = std::function<bool(unsigned char)>;

// Calls visit(start, length) for each character of 8-bit text: a lead byte and the byte after
// it are one character of length 2, every other byte one of length 1. Text cut inside a
// double-byte character ends in a lead byte whose length reaches past the end.
template <class Visit>
void forEachCharacter(std::string_view text, const LeadBytePredicate& isLeadByte, Visit visit) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t length = isLeadByte(static_cast<unsigned char>(text[start])) ? 2 : 1;
        visit(start, length);
        start += length;
    }
}

} // namespace hk
