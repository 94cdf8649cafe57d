#include "picture/BlendPicture.h"

#include "tests/support/PaintedWidget.h"

#include <gtest/gtest.h>
#include <limits>

namespace hk {
namespace {

using test::Canvas;
using test::Rgb;
using test::SectionPicture;

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

Component placed(ComponentKind kind, int left, int top, int width, int height) {
    Component component;
    component.kind = kind;
    component.box = {left, top, width, height};
    return component;
}

void expectPixels(Canvas& canvas, const std::vector<std::vector<Rgb>>& expected) {
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            EXPECT_EQ(canvas.pixel(x, y), expected[y][x]);
        }
    }
}

TEST(BlendPicture, PaintsPicturesInStackingOrderOverTheFormColour) {
    const Rgb face{0xF0, 0xF0, 0xF0};
    const SectionPicture opaque(picture(3, 2, {40, 50, 250, 255}));
    const SectionPicture strip(picture(3, 1, {200, 0, 100, 128}));
    const SectionPicture glyph(picture(1, 1, {255, 255, 255, 204}));
    std::vector<Component> components = {
        placed(ComponentKind::Image, 0, 0, 3, 2), placed(ComponentKind::Label, 0, 0, 4, 3),
        placed(ComponentKind::Image, 0, 0, 3, 1), placed(ComponentKind::Image, 2, 0, 1, 1),
        placed(ComponentKind::Image, 0, 0, 4, 3)};
    components[4].visible = false;
    const SectionPicture* pictures[] = {&opaque, nullptr, &strip, &glyph, &opaque};
    Canvas canvas(4, 3, face);

    test::paintPictures(components, pictures, canvas);

    // 250 over 240 at 255 gives 250; 40 over 240 gives 40 (the face is larger).
    const Rgb background{249, 50, 40};
    // Strip at 128 over that: red (100*128 + 249*128) >> 8 = 174, green 25, blue 120.
    const Rgb underStrip{174, 25, 120};
    // Glyph at 204: red (174*256 + 81*204) >> 8 = 238, green (25*256 + 230*204) >> 8 = 208,
    // blue (120*256 + 135*204) >> 8 = 227.
    const Rgb underGlyph{238, 208, 227};
    expectPixels(canvas, {{underStrip, underStrip, underGlyph, face},
                          {background, background, background, face},
                          {face, face, face, face}});
}

TEST(BlendPicture, CutsOffWhatFallsOutsideTheCanvasOnEverySide) {
    // Rows from the top: 10, 20, 30 in red; columns from the left: 1, 2, 3 in blue.
    DecodedBitmap graded = picture(3, 3, {0, 0, 0, 255});
    for (int stored = 0; stored < 3; ++stored) {
        for (int x = 0; x < 3; ++x) {
            std::uint8_t* p = &graded.pixels[static_cast<std::size_t>(stored * 3 + x) * 4];
            p[0] = static_cast<std::uint8_t>(x + 1);
            p[2] = static_cast<std::uint8_t>(10 * (3 - stored));
        }
    }
    const SectionPicture section(graded);
    // Opaque over white gives the picture's bytes exactly.
    const Rgb c{255, 255, 255};
    struct Case {
        int left;
        int top;
        std::vector<std::vector<Rgb>> expected;
    };
    const Case cases[] = {
        {-1, -2, {{{30, 0, 2}, {30, 0, 3}}, {c, c}}},
        {1, 1, {{c, c}, {c, {10, 0, 1}}}},
        {-3, 0, {{c, c}, {c, c}}},
        {0, 2, {{c, c}, {c, c}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "at " << k.left << "," << k.top);
        Canvas canvas(2, 2, c);
        blendPicture(section.view(), canvas.view(), k.left, k.top);
        expectPixels(canvas, k.expected);
    }
}

TEST(BlendPicture, RowsTheFileDidNotFillAreClear) {
    DecodedBitmap tall = picture(2, 4, {10, 20, 30, 255});
    tall.pixels.resize(8); // only the bottom row is stored; the other rows read as clear
    const SectionPicture section(tall);
    Canvas canvas(2, 4, {1, 2, 3});
    blendPicture(section.view(), canvas.view(), 1, 0);
    EXPECT_EQ(canvas.pixel(0, 3), (Rgb{1, 2, 3}));
    EXPECT_EQ(canvas.pixel(1, 3), (Rgb{29, 19, 9}))
        << "opaque, and one less where the background is darker";
    EXPECT_EQ(canvas.pixel(1, 2), (Rgb{1, 2, 3}));
}

// Places near the int limit: far edges summed in int would overflow.
TEST(BlendPicture, PlacesReachingTheIntLimitLeaveTheCanvasAlone) {
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    const SectionPicture small(picture(2, 2, {10, 20, 30, 255}));
    const std::pair<int, int> places[] = {{kMax - 1, 0}, {0, kMax - 1}, {kMin, kMin}, {kMin, 0}};
    for (const auto& [left, top] : places) {
        SCOPED_TRACE(testing::Message() << left << "," << top);
        Canvas canvas(4, 3, {1, 2, 3});
        blendPicture(small.view(), canvas.view(), left, top);
        const std::vector<Rgb> row(4, Rgb{1, 2, 3});
        expectPixels(canvas, {row, row, row});
    }
}

TEST(BlendPicture, RefusesPicturesWithoutAlpha) {
    DecodedBitmap opaque = picture(1, 1, {0, 0, 0, 0});
    opaque.header.bitCount = 24;
    const SectionPicture section(opaque);
    Canvas canvas(1, 1, {});
    EXPECT_THROW(blendPicture(section.view(), canvas.view(), 0, 0), InvalidArgument);
}

} // namespace
} // namespace hk
