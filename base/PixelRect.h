#pragma once

namespace hk {

// A rectangle in pixels, right and bottom exclusive, as the platform's RECT.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

} // namespace hk
