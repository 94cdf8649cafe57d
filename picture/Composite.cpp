#include "picture/Composite.h"

#include "picture/BlendRect.h"

#include <algorithm>

namespace hk {

namespace {

int checkedSize(int size) {
    if (size < 0) {
        raise<InvalidArgument>("negative buffer size");
    }
    return size;
}

// Where a picture lands in the window. Its far edges are cut to the window, so that a stored
// size or place near the int limit cannot overflow them.
PixelRect windowArea(const PlacedPicture& placed, int width, int height) {
    const auto edge = [](int start, int length, int limit) {
        return static_cast<int>(std::min(std::int64_t{start} + length, std::int64_t{limit}));
    };
    return {placed.left, placed.top, edge(placed.left, placed.picture->width(), width),
            edge(placed.top, placed.picture->height(), height)};
}

} // namespace

Bitmap24::Bitmap24(int width, int height, Rgb fill)
    : width_(checkedSize(width)), height_(checkedSize(height)),
      stride_(static_cast<std::size_t>(bitmapStride(width, 24))),
      bytes_(stride_ * static_cast<std::size_t>(height)) {
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &bytes_[static_cast<std::size_t>(y) * stride_ + std::size_t{3} * x];
            p[0] = fill.blue;
            p[1] = fill.green;
            p[2] = fill.red;
        }
    }
}

Rgb Bitmap24::pixel(int x, int y) const {
    const std::uint8_t* p = &bytes_.at(static_cast<std::size_t>(y) * stride_ + std::size_t{3} * x);
    return {p[2], p[1], p[0]};
}

BitmapView Bitmap24::view() {
    return BitmapView(bytes_, width_, height_, 24, true);
}

Bitmap24 composePictures(int width, int height, Rgb background,
                         std::span<const PlacedPicture> pictures) {
    Bitmap24 window(width, height, background);
    const BitmapView destination = window.view();
    for (const PlacedPicture& placed : pictures) {
        const DecodedBitmap& picture = *placed.picture;
        if (!picture.is32Bit()) {
            raise<InvalidArgument>("only pictures with alpha are composed");
        }
        // Like the section bitmap, rows the file did not fill are zero: transparent.
        std::vector<std::uint8_t> padded;
        std::span<const std::uint8_t> bits = picture.pixels;
        if (bits.size() < picture.sectionSize()) {
            padded.assign(bits.begin(), bits.end());
            padded.resize(static_cast<std::size_t>(picture.sectionSize()));
            bits = padded;
        }
        const ConstBitmapView source(bits, picture.width(), picture.height(), 32,
                                     picture.topDown());
        const PixelRect rd = windowArea(placed, width, height);
        BlendRect(rd, {0, 0, picture.width(), picture.height()}, destination, &source);
    }
    return window;
}

} // namespace hk
