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

TEST(BitmapFile, BmpStoresTheBottomRowFirstAsBlueGreenRedAlpha) {
    const std::vector<std::uint8_t> bytes = encodeBmp(twoByTwo());
    ASSERT_EQ(bytes.size(), 54u + 16u);
    EXPECT_EQ(u32At(bytes, 2), bytes.size());
    EXPECT_EQ(u32At(bytes, 10), 54u);
    EXPECT_EQ(u32At(bytes, 34), 16u) << "image size";
    const std::vector<std::uint8_t> pixels(bytes.begin() + 54, bytes.end());
    const std::vector<std::uint8_t> expected = {11, 10, 9, 12, 15, 14, 13, 16, //
                                                3,  2,  1, 4,  7,  6,  5,  0};
    EXPECT_EQ(pixels, expected);
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
