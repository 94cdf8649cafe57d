#include "Font.h"
#include "Pictures.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace hk {
namespace {

constexpr int kWidth = 202;
constexpr int kHeight = 84;
constexpr int kHoleSpacing = 6;
constexpr Rgba kHole{17, 17, 17, 255};
constexpr Rgba kHoleLip{53, 53, 53, 255};
constexpr Rgba kCaptionInk{170, 93, 151, 255};

struct Caption {
    std::string_view text;
    int left;
    int top;
};

constexpr Caption kCaptions[] = {
    {"WINDOW 1", 9, 23},
    {"F1-F12", 135, 23},
    {"WINDOW 2", 9, 38},
    {"1-5", 143, 38},
};

// A fixed scramble of the position, so the grain of the ground looks random yet never changes.
std::uint32_t grain(int x, int y) {
    std::uint32_t h =
        static_cast<std::uint32_t>(x) * 0x9E3779B1u ^ static_cast<std::uint32_t>(y) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return h;
}

Rgba grey(int level) {
    const auto value = static_cast<std::uint8_t>(level);
    return {value, value, value, 255};
}

bool isHole(int x, int y) {
    if (y % 2 != 0) {
        return false;
    }
    const int offset = (y / 2) % 2 * (kHoleSpacing / 2);
    return (x + offset) % kHoleSpacing == 0;
}

// The punched plate: a grainy ground with a dark hole on every second row and a lit lower lip
// under each hole, which is what makes the holes read as recessed.
void drawTexture(Image& image) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (isHole(x, y)) {
                image.at(x, y) = kHole;
            } else if (y > 0 && isHole(x, y - 1)) {
                image.at(x, y) = kHoleLip;
            } else {
                image.at(x, y) = grey(39 + grain(x, y) % 6);
            }
        }
    }
}

Rgba darken(Rgba pixel, int percent) {
    auto scale = [percent](std::uint8_t value) {
        return static_cast<std::uint8_t>(value * percent / 100);
    };
    return {scale(pixel.r), scale(pixel.g), scale(pixel.b), pixel.a};
}

// The shadow falls down and to the right: darkest diagonally below the ink, lighter beside it.
void drawCaptionShadows(Image& image) {
    struct Offset {
        int dx;
        int dy;
        int percent;
    };
    constexpr Offset kShadow[] = {{1, 1, 40}, {1, 0, 70}, {0, 1, 70}};
    std::vector<int> percent(image.pixels.size(), 100);
    for (const Caption& caption : kCaptions) {
        for (Point ink : inkPixels(captionFace(), caption.text, 1, caption.left, caption.top)) {
            for (const Offset& offset : kShadow) {
                const int x = ink.x + offset.dx;
                const int y = ink.y + offset.dy;
                int& cell = percent[static_cast<std::size_t>(y) * image.width + x];
                cell = std::min(cell, offset.percent);
            }
        }
    }
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] = darken(image.pixels[i], percent[i]);
    }
}

void drawCaptionInk(Image& image) {
    for (const Caption& caption : kCaptions) {
        for (Point ink : inkPixels(captionFace(), caption.text, 1, caption.left, caption.top)) {
            image.at(ink.x, ink.y) = kCaptionInk;
        }
    }
}

} // namespace

Image makeBackground() {
    Image image(kWidth, kHeight);
    drawTexture(image);
    drawCaptionShadows(image);
    drawCaptionInk(image);
    return image;
}

} // namespace hk
