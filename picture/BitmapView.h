#pragma once

#include "base/Error.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace hk {

// Bytes in one row of a device-independent bitmap: whole 32-bit words. Computed in 64 bits so
// that no stored width or bit count can overflow it.
inline std::uint64_t bitmapStride(std::int64_t width, unsigned bitsPerPixel) {
    return (static_cast<std::uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
}

// Rows of a device-independent bitmap in memory, addressed from the top whichever way they are
// stored. The constructor checks that the memory holds every row, so row() never leaves it.
template <class Byte> class BasicBitmapView {
public:
    BasicBitmapView(std::span<Byte> bits, int width, int height, unsigned bitsPerPixel,
                    bool topDown)
        : bits_(bits), width_(width), height_(height), bitsPerPixel_(bitsPerPixel),
          topDown_(topDown) {
        if (width < 0 || height < 0) {
            raise<InvalidArgument>("bitmap view with a negative size");
        }
        stride_ = bitmapStride(width, bitsPerPixel);
        if (height != 0 && stride_ > bits.size() / static_cast<std::uint64_t>(height)) {
            raise<InvalidArgument>("bitmap view larger than its memory");
        }
    }

    int width() const { return width_; }
    int height() const { return height_; }
    unsigned bitsPerPixel() const { return bitsPerPixel_; }
    std::size_t stride() const { return static_cast<std::size_t>(stride_); }

    // Row r counted from the top; a bottom-up bitmap stores it as row height - 1 - r.
    Byte* row(int r) const {
        const int stored = topDown_ ? r : height_ - 1 - r;
        return bits_.data() + static_cast<std::size_t>(stored) * stride();
    }

private:
    std::span<Byte> bits_;
    int width_;
    int height_;
    unsigned bitsPerPixel_;
    bool topDown_;
    std::uint64_t stride_ = 0;
};

using BitmapView = BasicBitmapView<std::uint8_t>;
using ConstBitmapView = BasicBitmapView<const std::uint8_t>;

} // namespace hk
