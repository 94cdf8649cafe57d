#include "picture/AlphaAsGrey.h"

#include "base/Error.h"

#include <algorithm>

namespace hk {

namespace {

void requireSameSize32(const ConstBitmapView& a, const BitmapView& b) {
    if (a.bitsPerPixel() != 32 || b.bitsPerPixel() != 32 || a.width() != b.width() ||
        a.height() != b.height()) {
        raise<InvalidArgument>("alpha and grey pictures must be 32-bit and of one size");
    }
}

} // namespace

void alphaToGrey(const ConstBitmapView& picture, const BitmapView& grey) {
    requireSameSize32(picture, grey);
    for (int y = 0; y < picture.height(); ++y) {
        const std::uint8_t* source = picture.row(y);
        std::uint8_t* target = grey.row(y);
        for (int x = 0; x < picture.width(); ++x, target += 4) {
            std::fill_n(target, 3, source[4 * x + 3]);
        }
    }
}

void greenToAlpha(const ConstBitmapView& grey, const BitmapView& picture) {
    requireSameSize32(grey, picture);
    for (int y = 0; y < picture.height(); ++y) {
        const std::uint8_t* source = grey.row(y);
        std::uint8_t* target = picture.row(y);
        for (int x = 0; x < picture.width(); ++x) {
            target[4 * x + 3] = source[4 * x + 1];
        }
    }
}

} // namespace hk
