#include "picture/AlphaAsGrey.h"

#include "base/Error.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace hk {
namespace {

// A 32-bit picture of 3 × 2 pixels whose bytes are given in storage order.
struct Picture32 {
    std::vector<std::uint8_t> bytes;
    bool topDown;

    BitmapView view() { return BitmapView(bytes, 3, 2, 32, topDown); }
    ConstBitmapView constView() const { return ConstBitmapView(bytes, 3, 2, 32, topDown); }
    const std::uint8_t* pixel(int x, int y) const { return constView().row(y) + 4 * x; }
};

// Every pixel different: blue 10 + n, green 20 + n, red 30 + n, alpha 40 * n + 1, n counted
// across the stored bytes.
Picture32 numbered(bool topDown) {
    Picture32 picture{std::vector<std::uint8_t>(3 * 2 * 4), topDown};
    for (std::size_t n = 0; n < 6; ++n) {
        const auto i = static_cast<std::uint8_t>(n);
        picture.bytes[4 * n] = static_cast<std::uint8_t>(10 + i);
        picture.bytes[4 * n + 1] = static_cast<std::uint8_t>(20 + i);
        picture.bytes[4 * n + 2] = static_cast<std::uint8_t>(30 + i);
        picture.bytes[4 * n + 3] = static_cast<std::uint8_t>(40 * i + 1);
    }
    return picture;
}

TEST(AlphaAsGrey, EachPixelsAlphaBecomesTheGreyOfTheSamePixelAndComesBackFromItsGreen) {
    // The program's scratch pictures are bottom-up; a picture may be stored either way.
    for (const bool topDown : {true, false}) {
        SCOPED_TRACE(topDown ? "top-down picture" : "bottom-up picture");
        const Picture32 picture = numbered(topDown);
        Picture32 grey{std::vector<std::uint8_t>(3 * 2 * 4, 0xEE), false};
        alphaToGrey(picture.constView(), grey.view());
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 3; ++x) {
                SCOPED_TRACE(testing::Message() << x << "," << y);
                const std::uint8_t alpha = picture.pixel(x, y)[3];
                EXPECT_EQ(std::vector<std::uint8_t>(grey.pixel(x, y), grey.pixel(x, y) + 3),
                          std::vector<std::uint8_t>(3, alpha));
            }
        }

        // Stretching may leave the three channels of a grey apart: the green is the one read.
        Picture32 stretched = numbered(false);
        Picture32 back = numbered(topDown);
        greenToAlpha(stretched.constView(), back.view());
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 3; ++x) {
                SCOPED_TRACE(testing::Message() << x << "," << y);
                const std::uint8_t* colour = picture.pixel(x, y);
                const std::vector<std::uint8_t> expected = {colour[0], colour[1], colour[2],
                                                            stretched.pixel(x, y)[1]};
                EXPECT_EQ(std::vector<std::uint8_t>(back.pixel(x, y), back.pixel(x, y) + 4),
                          expected);
            }
        }
    }
}

TEST(AlphaAsGrey, RefusesPicturesOfAnotherSizeOrDepth) {
    const Picture32 picture = numbered(false);
    std::vector<std::uint8_t> bytes(4 * 4 * 4);
    const BitmapView wider(bytes, 4, 2, 32, false);
    const BitmapView taller(bytes, 3, 3, 32, false);
    const BitmapView shallower(bytes, 3, 2, 24, false);
    for (const BitmapView& other : {wider, taller, shallower}) {
        EXPECT_THROW(alphaToGrey(picture.constView(), other), InvalidArgument);
        EXPECT_THROW(greenToAlpha(picture.constView(), other), InvalidArgument);
    }
}

} // namespace
} // namespace hk
