#include "tools/picturefiles/BitmapFile.h"

#include <gtest/gtest.h>

namespace hk {
namespace {

std::uint32_t u32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

Image twoByTwo() {
    Image image(2, 2);
    image.at(0, 0) = {1, 2, 3, 4};
    image.at(1, 0) = {5, 6, 7, 0};
    image.at(0, 1) = {9, 10, 11, 12};
    image.at(1, 1) = {13, 14, 15, 16};
    return image;
}

TEST(BitmapFile, BmpStoresTheBottomRowFirstAsBlueGreenRedAndAlphaOrWordPadding) {
    struct Case {
        std::vector<std::uint8_t> (*encode)(const Image&);
        std::uint8_t bitCount;
        std::vector<std::uint8_t> pixels;
    };
    const Case cases[] = {
        {encodeBmp, 32, {11, 10, 9, 12, 15, 14, 13, 16, 3, 2, 1, 4, 7, 6, 5, 0}},
        {encodeBmp24, 24, {11, 10, 9, 15, 14, 13, 0, 0, 3, 2, 1, 7, 6, 5, 0, 0}},
    };
    for (const Case& c : cases) {
        const std::vector<std::uint8_t> bytes = c.encode(twoByTwo());
        ASSERT_EQ(bytes.size(), 54u + 16u);
        EXPECT_EQ(u32At(bytes, 2), bytes.size());
        EXPECT_EQ(u32At(bytes, 10), 54u);
        EXPECT_EQ(bytes[28], c.bitCount) << "bits per pixel";
        EXPECT_EQ(u32At(bytes, 34), 16u) << "image size";
        EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 54, bytes.end()), c.pixels)
            << int{c.bitCount} << " bits";
    }
}

TEST(BitmapFile, Rle8StoresRunsOfAtMost255BottomUpWithLineAndBitmapEnds) {
    std::vector<std::uint8_t> indices(300 + 300, 1);
    indices[0] = 2; // top row: one 2, then 299 ones
    const Rgba palette[] = {{10, 20, 30, 255}, {40, 50, 60, 0}, {70, 80, 90, 0}};
    const std::vector<std::uint8_t> bytes = encodeRle8(300, indices, palette);
    EXPECT_EQ(bytes[28], 8) << "bits per pixel";
    EXPECT_EQ(u32At(bytes, 30), 1u) << "RLE8";
    EXPECT_EQ(u32At(bytes, 22), 2u) << "height";
    EXPECT_EQ(u32At(bytes, 46), 3u) << "colours used";
    EXPECT_EQ(u32At(bytes, 10), 54u + 12u) << "the runs follow the palette";
    const std::vector<std::uint8_t> table(bytes.begin() + 54, bytes.begin() + 66);
    EXPECT_EQ(table, (std::vector<std::uint8_t>{30, 20, 10, 0, 60, 50, 40, 0, 90, 80, 70, 0}));
    const std::vector<std::uint8_t> runs(bytes.begin() + 66, bytes.end());
    const std::vector<std::uint8_t> expected = {255, 1, 45,  1, 0,  0,        // bottom row
                                                1,   2, 255, 1, 44, 1, 0, 1}; // top row
    EXPECT_EQ(runs, expected);
    EXPECT_EQ(u32At(bytes, 34), expected.size()) << "image size";
}

TEST(BitmapFile, IcoMasksExactlyTheTransparentPixelsInPaddedBottomUpRows) {
    const std::vector<std::uint8_t> bytes = encodeIco(twoByTwo());
    const std::size_t header = 6 + 16;
    const std::size_t image = 40 + 16 + 2 * 4;
    ASSERT_EQ(bytes.size(), header + image);
    EXPECT_EQ(u32At(bytes, 6 + 8), image) << "bytes in the entry";
    EXPECT_EQ(u32At(bytes, 6 + 12), header) << "offset of the entry";
    EXPECT_EQ(u32At(bytes, header + 8), 4u) << "height counts colour rows and mask rows";
    const std::vector<std::uint8_t> mask(bytes.end() - 8, bytes.end());
    // The transparent pixel is the right one of the top row, which is stored last.
    const std::vector<std::uint8_t> expected = {0, 0, 0, 0, 0x40, 0, 0, 0};
    EXPECT_EQ(mask, expected);
}

} // namespace
} // namespace hk
