#include "picture/BlendRect.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace hk {
namespace {

// A bitmap with its own memory, every pixel set to the same bytes.
struct Pixels {
    Pixels(int width, int height, unsigned bits, std::vector<std::uint8_t> pixel,
           bool topDown = true)
        : bytes(bitmapStride(width, bits) * static_cast<std::size_t>(height)), width(width),
          height(height), bits(bits), topDown(topDown) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                set(x, y, pixel);
            }
        }
    }
    BitmapView view() { return BitmapView(bytes, width, height, bits, topDown); }
    ConstBitmapView constView() const {
        return ConstBitmapView(bytes, width, height, bits, topDown);
    }
    std::uint8_t* at(int x, int y) { return view().row(y) + x * static_cast<int>(bits / 8); }
    void set(int x, int y, const std::vector<std::uint8_t>& pixel) {
        std::copy(pixel.begin(), pixel.end(), at(x, y));
    }
    std::vector<std::uint8_t> get(int x, int y) { return {at(x, y), at(x, y) + bits / 8}; }

    std::vector<std::uint8_t> bytes;
    int width;
    int height;
    unsigned bits;
    bool topDown;
};

std::uint8_t blendOne(std::uint8_t s, std::uint8_t d, std::uint8_t a,
                      const BlendOptions& options = {}) {
    Pixels destination(1, 1, 24, {d, d, d});
    const Pixels source(1, 1, 32, {s, s, s, a});
    const ConstBitmapView sourceView = source.constView();
    BlendRect({0, 0, 1, 1}, {0, 0, 1, 1}, destination.view(), &sourceView, options);
    return destination.bytes[0];
}

TEST(BlendRect, MixesEachChannelByAlphaOver256Truncated) {
    struct Case {
        int s, d, a, expected;
    };
    const Case cases[] = {
        {255, 0, 0, 0},       {0, 255, 0, 255},     {255, 0, 255, 254}, {100, 200, 255, 100},
        {100, 100, 255, 100}, {200, 100, 128, 150}, {255, 0, 204, 203}, {0, 255, 255, 0},
        {255, 255, 255, 255}, {0, 0, 128, 0},       {1, 0, 255, 0},     {255, 254, 1, 254},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.s << " over " << c.d << " at " << c.a);
        EXPECT_EQ(blendOne(static_cast<std::uint8_t>(c.s), static_cast<std::uint8_t>(c.d),
                           static_cast<std::uint8_t>(c.a)),
                  c.expected);
    }
}

// A channel's value for the pixel that stands for v: each channel takes v through a different
// one-to-one map, so over all v every channel meets every value.
int channelValue(int channel, int v) {
    return channel == 0 ? v : channel == 1 ? 255 - v : v ^ 0xA5;
}

// All 256 x 256 x 256 (s, d, A): a row of 256 source pixels holds every s at one alpha and is
// blended over a row holding one d, through BlendRect itself: once as a whole row, which takes
// the several-pixels-at-once way, and once in runs of three pixels, too short for it.
void blendRowInRuns(const ConstBitmapView& source, const BitmapView& destination, int run) {
    for (int left = 0; left < source.width(); left += run) {
        const PixelRect part{left, 0, std::min(left + run, source.width()), 1};
        BlendRect(part, part, destination, &source);
    }
}

TEST(BlendRect, EveryTripleFollowsTheIntegerRule) {
    constexpr int kValues = 256;
    std::vector<std::uint8_t> sourceBytes(kValues * 4);
    std::vector<std::uint8_t> destinationBytes(kValues * 3);
    const ConstBitmapView source(sourceBytes, kValues, 1, 32, true);
    const BitmapView destination(destinationBytes, kValues, 1, 24, true);
    long mismatches = 0;
    std::string first;
    for (int run : {kValues, 3}) {
        for (int a = 0; a < kValues; ++a) {
            for (int x = 0; x < kValues; ++x) {
                for (int c = 0; c < 3; ++c) {
                    sourceBytes[4 * x + c] = static_cast<std::uint8_t>(channelValue(c, x));
                }
                sourceBytes[4 * x + 3] = static_cast<std::uint8_t>(a);
            }
            for (int d = 0; d < kValues; ++d) {
                for (int i = 0; i < kValues * 3; ++i) {
                    destinationBytes[i] = static_cast<std::uint8_t>(channelValue(i % 3, d));
                }
                blendRowInRuns(source, destination, run);
                for (int i = 0; i < kValues * 3; ++i) {
                    const int sc = channelValue(i % 3, i / 3);
                    const int dc = channelValue(i % 3, d);
                    const int expected = (dc * 256 + (sc - dc) * a) >> 8;
                    if (destinationBytes[i] != expected && mismatches++ == 0) {
                        first = std::to_string(sc) + " over " + std::to_string(dc) + " at " +
                                std::to_string(a) + " gave " + std::to_string(destinationBytes[i]) +
                                " in runs of " + std::to_string(run);
                    }
                }
            }
        }
    }
    EXPECT_EQ(mismatches, 0) << "first: " << first;
}

TEST(BlendRect, BlendsBlueGreenAndRedApartAndWritesNoAlpha) {
    Pixels destination(2, 1, 24, {10, 20, 30});
    const Pixels source(1, 1, 32, {110, 220, 0, 128});
    const ConstBitmapView sourceView = source.constView();
    BlendRect({0, 0, 1, 1}, {0, 0, 1, 1}, destination.view(), &sourceView);
    EXPECT_EQ(destination.get(0, 0), (std::vector<std::uint8_t>{60, 120, 15}));
    EXPECT_EQ(destination.get(1, 0), (std::vector<std::uint8_t>{10, 20, 30}));
}

TEST(BlendRect, ExtraTransparencyScalesAlphaByPercent) {
    struct Case {
        int percent, alpha, expected;
    };
    // 255 over 0: the result is the effective alpha less one.
    const Case cases[] = {{50, 255, 126}, {50, 201, 99}, {100, 255, 0}, {20, 204, 162}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.percent << "% of " << c.alpha);
        EXPECT_EQ(
            blendOne(255, 0, static_cast<std::uint8_t>(c.alpha), {.extraTransparency = c.percent}),
            c.expected);
    }
}

TEST(BlendRect, RefusesWhatItCannotBlend) {
    Pixels destination24(1, 1, 24, {0, 0, 0});
    Pixels destination32(1, 1, 32, {0, 0, 0, 0});
    const Pixels source32(1, 1, 32, {0, 0, 0, 0});
    const Pixels source24(1, 1, 24, {0, 0, 0});
    const ConstBitmapView good = source32.constView();
    const ConstBitmapView bad = source24.constView();
    const PixelRect r{0, 0, 1, 1};
    EXPECT_THROW(BlendRect(r, r, destination32.view(), &good), InvalidArgument);
    EXPECT_THROW(BlendRect(r, r, destination24.view(), &bad), InvalidArgument);
    for (const BlendOptions& options :
         {BlendOptions{.tint = 0x00FF0000}, BlendOptions{.extraTransparency = -1},
          BlendOptions{.extraTransparency = 101}, BlendOptions{.keyMode = true}}) {
        EXPECT_THROW(BlendRect(r, r, destination24.view(), &good, options), InvalidArgument);
    }
}

// Blends an opaque white source over a black 6 × 5 destination and returns, row by row, which
// destination pixels changed.
std::vector<std::string> touched(PixelRect rd, PixelRect rs, int sourceWidth, int sourceHeight) {
    Pixels destination(6, 5, 24, {0, 0, 0});
    const Pixels source(sourceWidth, sourceHeight, 32, {255, 255, 255, 255});
    const ConstBitmapView sourceView = source.constView();
    BlendRect(rd, rs, destination.view(), &sourceView);
    std::vector<std::string> rows;
    for (int y = 0; y < 5; ++y) {
        std::string row;
        for (int x = 0; x < 6; ++x) {
            row += destination.get(x, y)[0] == 254 ? '#' : '.';
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(BlendRect, ClampsRowsAndColumnsToBothRectanglesAndBothBitmaps) {
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    struct Case {
        const char* what;
        PixelRect rd;
        PixelRect rs;
        int sourceWidth, sourceHeight;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"inside",
         {1, 1, 3, 3},
         {0, 0, 2, 2},
         4,
         4,
         {"......", ".##...", ".##...", "......", "......"}},
        {"destination rectangle smaller",
         {2, 0, 3, 1},
         {0, 0, 4, 4},
         4,
         4,
         {"..#...", "......", "......", "......", "......"}},
        {"source rectangle smaller",
         {0, 0, 6, 5},
         {1, 1, 2, 4},
         4,
         4,
         {"#.....", "#.....", "#.....", "......", "......"}},
        {"past the destination's right and bottom",
         {4, 3, 10, 10},
         {0, 0, 6, 6},
         6,
         6,
         {"......", "......", "......", "....##", "....##"}},
        {"past the source's right and bottom",
         {0, 0, 6, 5},
         {2, 1, 6, 5},
         3,
         3,
         {"#.....", "#.....", "......", "......", "......"}},
        {"empty destination rectangle",
         {2, 2, 2, 4},
         {0, 0, 4, 4},
         4,
         4,
         {"......", "......", "......", "......", "......"}},
        {"inverted source rectangle",
         {0, 0, 4, 4},
         {3, 3, 1, 1},
         4,
         4,
         {"......", "......", "......", "......", "......"}},
        {"destination origin outside",
         {7, 0, 9, 2},
         {0, 0, 2, 2},
         2,
         2,
         {"......", "......", "......", "......", "......"}},
        {"source origin outside",
         {0, 0, 2, 2},
         {0, 5, 2, 7},
         2,
         2,
         {"......", "......", "......", "......", "......"}},
        {"negative origin",
         {-1, 0, 2, 2},
         {0, 0, 3, 2},
         3,
         2,
         {"......", "......", "......", "......", "......"}},
        {"negative source origin",
         {0, 0, 2, 2},
         {0, -1, 2, 2},
         2,
         3,
         {"......", "......", "......", "......", "......"}},
        {"destination reaching the int limit",
         {1, 1, kMax, kMax},
         {0, 0, 4, 4},
         4,
         4,
         {"......", ".####.", ".####.", ".####.", ".####."}},
        {"destination inverted across the int range",
         {0, kMax, 2, kMin},
         {0, 0, 2, 2},
         2,
         2,
         {"......", "......", "......", "......", "......"}},
        {"source inverted across the int range",
         {0, 0, 2, 2},
         {kMax, 0, kMin, 2},
         2,
         2,
         {"......", "......", "......", "......", "......"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(touched(c.rd, c.rs, c.sourceWidth, c.sourceHeight), c.expected);
    }
}

TEST(BlendRect, NoSourceBlendsNothing) {
    Pixels destination(1, 1, 24, {7, 8, 9});
    BlendRect({0, 0, 1, 1}, {0, 0, 1, 1}, destination.view(), nullptr);
    EXPECT_EQ(destination.get(0, 0), (std::vector<std::uint8_t>{7, 8, 9}));
}

TEST(BlendRect, CountsRowsFromTheTopInEitherStorageOrder) {
    for (const bool sourceTopDown : {true, false}) {
        for (const bool destinationTopDown : {true, false}) {
            SCOPED_TRACE(testing::Message() << sourceTopDown << destinationTopDown);
            Pixels destination(1, 3, 24, {0, 0, 0}, destinationTopDown);
            Pixels source(1, 3, 32, {0, 0, 0, 0}, sourceTopDown);
            source.set(0, 0, {255, 255, 255, 255}); // top row opaque, the rest clear
            const ConstBitmapView sourceView = source.constView();
            BlendRect({0, 0, 1, 2}, {0, 0, 1, 2}, destination.view(), &sourceView);
            EXPECT_EQ(destination.get(0, 0)[0], 254);
            EXPECT_EQ(destination.get(0, 1)[0], 0);
            // The top row really is stored where its orientation says.
            const std::size_t topOffset = destinationTopDown ? 0 : 2 * destination.view().stride();
            EXPECT_EQ(destination.bytes[topOffset], 254);
        }
    }
}

int rowsFlushed = 0;

TEST(BlendRect, FlushesBeforeEveryRow) {
    Pixels destination(4, 4, 24, {0, 0, 0});
    const Pixels source(4, 4, 32, {0, 0, 0, 0});
    const ConstBitmapView sourceView = source.constView();
    rowsFlushed = 0;
    BlendRect({0, 0, 4, 3}, {0, 0, 4, 4}, destination.view(), &sourceView,
              {.beforeRow = [] { ++rowsFlushed; }});
    EXPECT_EQ(rowsFlushed, 3);
}

TEST(BitmapView, RefusesMemoryShorterThanItsRows) {
    std::vector<std::uint8_t> bytes(23);
    EXPECT_THROW(BitmapView(bytes, 3, 2, 24, true), InvalidArgument) << "2 rows of 12";
    bytes.resize(24);
    const BitmapView view(bytes, 3, 2, 24, false);
    EXPECT_EQ(view.stride(), 12u);
    EXPECT_EQ(view.row(0), bytes.data() + 12);
    EXPECT_THROW(BitmapView(bytes, -1, 2, 24, true), InvalidArgument);
    EXPECT_THROW(BitmapView(bytes, 0, -2, 24, true), InvalidArgument);
    // A picture of no rows needs no memory at all.
    EXPECT_EQ(BitmapView({}, 3, 0, 24, true).height(), 0);
}

} // namespace
} // namespace hk
