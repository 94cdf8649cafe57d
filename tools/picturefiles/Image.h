#pragma once

#include <cstdint>
#include <vector>

namespace hk {

// One pixel with straight (not premultiplied) alpha.
struct Rgba {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 0;

    bool operator==(const Rgba&) const = default;
};

// A picture being drawn, rows from the top down.
struct Image {
    Image(int width, int height, Rgba fill = {})
        : width(width), height(height), pixels(static_cast<std::size_t>(width) * height, fill) {}

    Rgba& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    const Rgba& at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }

    int width;
    int height;
    std::vector<Rgba> pixels;
};

} // namespace hk
