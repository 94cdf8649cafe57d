#include "picture/Composite.h"

#include <gtest/gtest.h>
#include <limits>

namespace hk {
namespace {

// A 32-bit picture of width × height, every pixel the given blue, green, red and alpha bytes,
// stored bottom-up like the widget's files.
DecodedBitmap picture(int width, int height, std::vector<std::uint8_t> pixel) {
    DecodedBitmap bitmap;
    bitmap.header = {.width = width, .height = height, .planes = 1, .bitCount = 32};
    bitmap.pixels.resize(static_cast<std::size_t>(width * height) * 4);
    for (std::size_t i = 0; i < bitmap.pixels.size(); ++i) {
        bitmap.pixels[i] = pixel[i % 4];
    }
    return bitmap;
}

TEST(Composite, BlendsPicturesInPaintOrderOverTheBackground) {
    const Rgb face{0xF0, 0xF0, 0xF0};
    const DecodedBitmap opaque = picture(3, 2, {40, 50, 250, 255});
    DecodedBitmap strip = picture(3, 1, {200, 0, 100, 128});
    const DecodedBitmap glyph = picture(1, 1, {255, 255, 255, 204});
    const PlacedPicture pictures[] = {{&opaque, 0, 0}, {&strip, 0, 0}, {&glyph, 2, 0}};
    const Bitmap24 window = composePictures(4, 3, face, pictures);

    // 250 over 240 at 255 gives 250; 40 over 240 gives 40 (the face is larger).
    const Rgb background{249, 50, 40};
    // Strip at 128 over that: red (100*128 + 249*128) >> 8 = 174, green 25, blue 120.
    const Rgb underStrip{174, 25, 120};
    // Glyph at 204: red (174*256 + 81*204) >> 8 = 238, green (25*256 + 230*204) >> 8 = 208,
    // blue (120*256 + 135*204) >> 8 = 227.
    const Rgb underGlyph{238, 208, 227};
    const Rgb expected[3][4] = {
        {underStrip, underStrip, underGlyph, face},
        {background, background, background, face},
        {face, face, face, face},
    };
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            EXPECT_EQ(window.pixel(x, y), expected[y][x]);
        }
    }
}

TEST(Composite, ClipsToTheWindowAndTreatsMissingRowsAsClear) {
    DecodedBitmap tall = picture(2, 4, {10, 20, 30, 255});
    tall.pixels.resize(8); // only the bottom row is stored; the other rows read as clear
    const PlacedPicture pictures[] = {{&tall, 1, 0}};
    const Bitmap24 window = composePictures(2, 4, {1, 2, 3}, pictures);
    EXPECT_EQ(window.pixel(0, 3), (Rgb{1, 2, 3}));
    EXPECT_EQ(window.pixel(1, 3), (Rgb{29, 19, 9}))
        << "opaque, and one less where the background is darker";
    EXPECT_EQ(window.pixel(1, 2), (Rgb{1, 2, 3}));
}

// Stored sizes and places near the int limit: edges computed as left + width would overflow.
TEST(Composite, PicturesReachingTheIntLimitLeaveTheWindowAlone) {
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    const DecodedBitmap small = picture(2, 2, {10, 20, 30, 255});
    DecodedBitmap endless = picture(0, 0, {});
    endless.header.height = kMax - 1; // no columns, so no pixel memory
    const PlacedPicture cases[] = {
        {&endless, 3, 2},
        {&small, kMax - 1, 0},
        {&small, 0, kMax - 1},
        {&small, kMin, kMin},
    };
    for (const PlacedPicture& placed : cases) {
        SCOPED_TRACE(testing::Message() << placed.left << "," << placed.top);
        const Bitmap24 window = composePictures(4, 3, {1, 2, 3}, {&placed, 1});
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 4; ++x) {
                EXPECT_EQ(window.pixel(x, y), (Rgb{1, 2, 3}));
            }
        }
    }
}

TEST(Composite, RefusesPicturesWithoutAlpha) {
    DecodedBitmap masked = picture(1, 1, {0, 0, 0, 0});
    masked.header.compression = kBitmapBitFields;
    const PlacedPicture pictures[] = {{&masked, 0, 0}};
    EXPECT_THROW(composePictures(1, 1, {}, pictures), InvalidArgument);
}

} // namespace
} // namespace hk
