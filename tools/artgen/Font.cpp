#include "Font.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace hk {

Glyph::Glyph(char character, std::string_view art) : character(character) {
    while (!art.empty()) {
        art.remove_prefix(1);
        const std::size_t end = std::min(art.find('\n'), art.size());
        rows.push_back(art.substr(0, end));
        art.remove_prefix(end);
    }
}

const Glyph& Face::glyph(char character) const {
    for (const Glyph& candidate : glyphs) {
        if (candidate.character == character) {
            return candidate;
        }
    }
    throw std::out_of_range(std::string("no glyph for '") + character + "'");
}

std::vector<Point> inkPixels(const Face& face, std::string_view text, int spacing, int left,
                             int top) {
    std::vector<Point> ink;
    int x = left;
    for (char character : text) {
        const Glyph& glyph = face.glyph(character);
        for (int row = 0; row < static_cast<int>(glyph.rows.size()); ++row) {
            for (int column = 0; column < glyph.width(); ++column) {
                if (glyph.rows[row][column] == '#') {
                    ink.push_back({x + column, top + row});
                }
            }
        }
        x += glyph.width() + spacing;
    }
    return ink;
}

} // namespace hk
