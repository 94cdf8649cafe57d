#pragma once

#include "picture/BitmapReader.h"
#include "picture/BitmapView.h"

#include <cstdint>
#include <span>
#include <vector>

namespace hk {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const Rgb&) const = default;
};

// A 24-bit top-down pixel buffer that owns its memory.
class Bitmap24 {
public:
    Bitmap24(int width, int height, Rgb fill);

    int width() const { return width_; }
    int height() const { return height_; }
    Rgb pixel(int x, int y) const;
    BitmapView view();

private:
    int width_;
    int height_;
    std::size_t stride_;
    std::vector<std::uint8_t> bytes_;
};

struct PlacedPicture {
    const DecodedBitmap* picture;
    int left;
    int top;
};

// What a window of width × height shows after filling with the background colour and blending
// the 32-bit pictures in order, each at its own size at its place. Throws InvalidArgument
// for a picture that does not carry alpha.
Bitmap24 composePictures(int width, int height, Rgb background,
                         std::span<const PlacedPicture> pictures);

} // namespace hk
