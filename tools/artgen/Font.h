#pragma once

#include <string_view>
#include <vector>

namespace hk {

// One character drawn as rows of text: '#' is ink, anything else is background. Every row of a
// glyph has the glyph's width, and every glyph of a face has the face's height.
struct Glyph {
    // The art is the rows, each begun by a line break, so that it reads as a picture in a raw
    // string literal.
    Glyph(char character, std::string_view art);

    char character;
    std::vector<std::string_view> rows;

    int width() const { return rows.empty() ? 0 : static_cast<int>(rows.front().size()); }
};

struct Face {
    int height;
    std::vector<Glyph> glyphs;

    // The glyph of a character; a character the face lacks is a programming error and throws.
    const Glyph& glyph(char character) const;
};

struct Point {
    int x;
    int y;
};

// The ink pixels of text whose first glyph has its top-left corner at (left, top). Glyphs stand
// side by side with `spacing` blank columns between neighbours.
std::vector<Point> inkPixels(const Face& face, std::string_view text, int spacing, int left,
                             int top);

// Upper-case letters and digits eight pixels high with one-pixel strokes, for the captions.
const Face& captionFace();

// A bold face with a seven-pixel cap height and two-pixel descenders, for the title.
const Face& titleFace();

} // namespace hk
