#include "picture/BlendRect.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define HK_BLEND_SSE2 1
#endif

namespace hk {
namespace {

void checkOptions(const BlendOptions& options) {
    if (options.tint != kNoTint || options.keyMode) {
        raise<InvalidArgument>("tinted and keyed blending are not supported");
    }
    if (options.extraTransparency < 0 || options.extraTransparency > 100) {
        raise<InvalidArgument>("extra transparency outside 0..100 percent");
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

#ifdef HK_BLEND_SSE2
// Four pixels at a time, a channel in each 16-bit lane: s * a and d * (256 - a) each stay below
// 65536 and so does their sum (at most 65280), so the lanes keep the rule exactly. The
// destination's 3-byte pixels move as 4-byte words, except the last of the four, which moves
// byte by byte so that nothing past it is read or written. Returns how many pixels it blended;
// the rest are left to the caller.
int blendFourAtATime(std::uint8_t* d, const std::uint8_t* s, std::int64_t columns) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i whole = _mm_set1_epi16(256);
    int x = 0;
    for (; x + 4 <= columns; x += 4, d += 12, s += 16) {
        std::uint32_t p[4];
        std::memcpy(&p[0], d, 4);
        std::memcpy(&p[1], d + 3, 4);
        std::memcpy(&p[2], d + 6, 4);
        p[3] = d[9] | d[10] << 8 | static_cast<std::uint32_t>(d[11]) << 16;
        const __m128i source = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
        const __m128i destination = _mm_set_epi32(static_cast<int>(p[3]), static_cast<int>(p[2]),
                                                  static_cast<int>(p[1]), static_cast<int>(p[0]));
        __m128i halves[2];
        for (int h = 0; h < 2; ++h) {
            const __m128i sh =
                h == 0 ? _mm_unpacklo_epi8(source, zero) : _mm_unpackhi_epi8(source, zero);
            const __m128i dh = h == 0 ? _mm_unpacklo_epi8(destination, zero)
                                      : _mm_unpackhi_epi8(destination, zero);
            // Each pixel's alpha (its fourth lane) copied into all four of its lanes.
            const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(sh, 0xFF), 0xFF);
            const __m128i sum =
                _mm_add_epi16(_mm_mullo_epi16(sh, a), _mm_mullo_epi16(dh, _mm_sub_epi16(whole, a)));
            halves[h] = _mm_srli_epi16(sum, 8);
        }
        __m128i mixed = _mm_packus_epi16(halves[0], halves[1]);
        for (std::uint32_t& pixel : p) {
            pixel = static_cast<std::uint32_t>(_mm_cvtsi128_si32(mixed));
            mixed = _mm_srli_si128(mixed, 4);
        }
        // In order, so each move's fourth byte is overwritten by the next pixel.
        std::memcpy(d, &p[0], 4);
        std::memcpy(d + 3, &p[1], 4);
        std::memcpy(d + 6, &p[2], 4);
        d[9] = static_cast<std::uint8_t>(p[3]);
        d[10] = static_cast<std::uint8_t>(p[3] >> 8);
        d[11] = static_cast<std::uint8_t>(p[3] >> 16);
    }
    return x;
}
#endif

} // namespace

void BlendRect(const PixelRect& rd, const PixelRect& rs, const BitmapView& destination,
               const ConstBitmapView* source, const BlendOptions& options) {
    if (source == nullptr) {
        return;
    }
    if (destination.bitsPerPixel() != 24 || source->bitsPerPixel() != 32) {
        raise<InvalidArgument>("BlendRect blends 32-bit pixels into 24-bit pixels");
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
        int x = 0;
#ifdef HK_BLEND_SSE2
        if (keep == 100) {
            x = blendFourAtATime(d, s, columns);
            d += std::size_t{3} * x;
            s += std::size_t{4} * x;
        }
#endif
        for (; x < columns; ++x, d += 3, s += 4) {
            // The division is only paid for when extra transparency is asked for.
            const std::int32_t a = keep == 100 ? s[3] : keep * s[3] / 100;
            d[0] = blend(d[0], s[0], a);
            d[1] = blend(d[1], s[1], a);
            d[2] = blend(d[2], s[2], a);
        }
    }
}

} // namespace hk
