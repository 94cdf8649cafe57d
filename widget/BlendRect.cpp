#include "widget/BlendRect.h"

#include <algorithm>
#include <stdexcept>

namespace hk {
namespace {

void checkOptions(const BlendOptions& options) {
    if (options.tint != kNoTint || options.keyMode) {
        throw std::invalid_argument("tinted and keyed blending are not supported");
    }
    if (options.extraTransparency < 0 || options.extraTransparency > 100) {
        throw std::invalid_argument("extra transparency outside 0..100 percent");
    }
}

// The count of rows (or columns) both rectangles and both bitmaps have room for, from each
// rectangle's start and end edge. An origin left of or above a bitmap would address memory
// before it, so such areas blend nothing. In 64 bits, so that no pair of edges can overflow.
std::int64_t span(int destinationStart, int destinationEnd, int destinationLimit, int sourceStart,
                  int sourceEnd, int sourceLimit) {
    if (destinationStart < 0 || sourceStart < 0) {
        return 0;
    }
    const auto length = [](std::int64_t start, std::int64_t end) { return end - start; };
    return std::min({length(destinationStart, destinationEnd), length(sourceStart, sourceEnd),
                     length(destinationStart, destinationLimit), length(sourceStart, sourceLimit)});
}

// (d * 256 + (s - d) * a) >> 8 in signed 32 bits: the sum lies in 0..65280, so this is
// floor((s * a + d * (256 - a)) / 256) with no division.
inline std::uint8_t blend(std::int32_t d, std::int32_t s, std::int32_t a) {
    return static_cast<std::uint8_t>((d * 256 + (s - d) * a) >> 8);
}

} // namespace

void BlendRect(const PixelRect& rd, const PixelRect& rs, const BitmapView& destination,
               const ConstBitmapView* source, const BlendOptions& options) {
    if (source == nullptr) {
        return;
    }
    if (destination.bitsPerPixel() != 24 || source->bitsPerPixel() != 32) {
        throw std::invalid_argument("BlendRect blends 32-bit pixels into 24-bit pixels");
    }
    checkOptions(options);
    const std::int64_t rows =
        span(rd.top, rd.bottom, destination.height(), rs.top, rs.bottom, source->height());
    const std::int64_t columns =
        span(rd.left, rd.right, destination.width(), rs.left, rs.right, source->width());
    if (rows <= 0 || columns <= 0) {
        return;
    }
    const std::int32_t keep = 100 - options.extraTransparency;
    for (int y = 0; y < rows; ++y) {
        if (options.beforeRow != nullptr) {
            options.beforeRow();
        }
        std::uint8_t* d = destination.row(rd.top + y) + std::size_t{3} * rd.left;
        const std::uint8_t* s = source->row(rs.top + y) + std::size_t{4} * rs.left;
        for (int x = 0; x < columns; ++x, d += 3, s += 4) {
            // The division is only paid for when extra transparency is asked for.
            const std::int32_t a = keep == 100 ? s[3] : keep * s[3] / 100;
            d[0] = blend(d[0], s[0], a);
            d[1] = blend(d[1], s[1], a);
            d[2] = blend(d[2], s[2], a);
        }
    }
}

} // namespace hk
