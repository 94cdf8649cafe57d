#include "picture/BitmapReader.h"

#include "tests/unit/BitmapBytes.h"
#include "tools/picturefiles/PicturePayload.h"

#include <gtest/gtest.h>
#include <limits>

namespace hk {
namespace {

using test::bitmapFileStart;
using test::Bytes;

DecodedBitmap read(const std::vector<std::uint8_t>& file) {
    const auto stored = sizedFile(file);
    ByteReader reader(stored);
    DecodedBitmap bitmap = readBitmapPicture(reader);
    EXPECT_TRUE(reader.atEnd()) << "reading takes exactly the S bytes of the file";
    return bitmap;
}

std::vector<std::uint8_t> counting(std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i + 1);
    }
    return bytes;
}

TEST(BitmapReader, Reads32BitPixelsAsStoredInBothRowOrders) {
    for (const std::int32_t height : {2, -2}) {
        SCOPED_TRACE(height);
        const auto pixels = counting(16);
        const auto file = bitmapFileStart({.height = height, .sizeImage = 16}).append(pixels).data;
        const DecodedBitmap bitmap = read(file);
        EXPECT_EQ(bitmap.width(), 2);
        EXPECT_EQ(bitmap.height(), 2);
        EXPECT_EQ(bitmap.topDown(), height < 0);
        EXPECT_TRUE(bitmap.is32Bit());
        EXPECT_FALSE(bitmap.compressed);
        EXPECT_EQ(bitmap.header.sizeImage, 16u);
        EXPECT_TRUE(bitmap.masks.empty());
        EXPECT_TRUE(bitmap.colorTable.empty());
        EXPECT_EQ(bitmap.pixels, pixels);
    }
}

TEST(BitmapReader, TakesPixelsStraightAfterTheTablesWhateverThePixelOffsetSays) {
    for (const std::uint32_t offBits : {0u, 54u, 58u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(offBits);
        const auto pixels = counting(16);
        const auto file = bitmapFileStart({}, offBits).append(pixels).data;
        EXPECT_EQ(read(file).pixels, pixels);
    }
}

TEST(BitmapReader, WidensTheCoreHeaderWithThreeByteColourEntries) {
    // 12-byte header: 16-bit width 3, height 2, planes 1, 8 bits; 256 entries of blue, green, red.
    Bytes file = bitmapFileStart({.size = 12, .width = 3, .height = 2, .bitCount = 8});
    for (std::uint32_t i = 0; i < 256; ++i) {
        file.u8(i).u8(i + 1).u8(i + 2);
    }
    file.append(counting(8));
    const DecodedBitmap bitmap = read(file.data);
    EXPECT_EQ(bitmap.header.width, 3);
    EXPECT_EQ(bitmap.header.height, 2);
    EXPECT_EQ(bitmap.header.bitCount, 8);
    EXPECT_EQ(bitmap.header.compression, kBitmapUncompressed);
    EXPECT_EQ(bitmap.header.sizeImage, 0u);
    ASSERT_EQ(bitmap.colorTable.size(), 256u);
    EXPECT_EQ(bitmap.colorTable[0], 0x020100u);
    EXPECT_EQ(bitmap.colorTable[255], 0x0100FFu);
    EXPECT_EQ(bitmap.pixels, counting(8)) << "two rows of 4 bytes";
    EXPECT_FALSE(bitmap.is32Bit());
}

TEST(BitmapReader, ReadsColourMasksOnlyForBitFieldsWithSixteenOrThirtyTwoBits) {
    struct Case {
        std::uint32_t headerSize;
        std::uint16_t bitCount;
        std::uint32_t compression;
        bool masks;
    };
    const Case cases[] = {
        {40, 32, 3, true},  {40, 16, 3, true},  {40, 24, 3, false},
        {40, 32, 0, false}, {108, 32, 3, true}, {124, 16, 3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.headerSize << " " << c.bitCount << " " << c.compression);
        // A larger header holds its masks at byte 40; after a 40-byte one come bit fields.
        Bytes file = bitmapFileStart({.size = c.headerSize,
                                      .width = 1,
                                      .height = 1,
                                      .bitCount = c.bitCount,
                                      .compression = c.compression,
                                      .sizeImage = 4,
                                      .masks = {0xF800, 0x07E0, 0x001F, 0}});
        if (c.headerSize == 40 && c.masks) {
            file.u32(0xF800).u32(0x07E0).u32(0x001F);
        }
        file.append({9, 8, 7, 6});
        const DecodedBitmap bitmap = read(file.data);
        if (c.masks) {
            EXPECT_EQ(bitmap.masks, (std::vector<std::uint32_t>{0xF800, 0x07E0, 0x001F}));
        } else {
            EXPECT_TRUE(bitmap.masks.empty());
        }
        EXPECT_EQ(bitmap.pixels, (std::vector<std::uint8_t>{9, 8, 7, 6}));
        EXPECT_FALSE(bitmap.compressed);
        EXPECT_EQ(bitmap.is32Bit(), c.bitCount == 32 && c.compression == 0);
    }
}

TEST(BitmapReader, CountsColourEntriesFromTheHeaderOrTheBitDepth) {
    struct Case {
        std::uint16_t bitCount;
        std::uint32_t clrUsed;
        std::size_t entries;
    };
    const Case cases[] = {{1, 0, 2},  {4, 0, 16}, {8, 0, 256}, {8, 3, 3},
                          {24, 0, 0}, {24, 5, 5}, {32, 0, 0},  {16, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bitCount << " bits, " << c.clrUsed << " used");
        Bytes file = bitmapFileStart(
            {.width = 1, .height = 1, .bitCount = c.bitCount, .clrUsed = c.clrUsed});
        for (std::size_t i = 0; i < c.entries; ++i) {
            file.u8(0x30).u8(0x20).u8(0x10).u8(0xAA); // the fourth byte is not a colour
        }
        file.append({1, 2, 3, 4});
        const DecodedBitmap bitmap = read(file.data);
        EXPECT_EQ(bitmap.colorTable, std::vector<std::uint32_t>(c.entries, 0x102030u));
        EXPECT_EQ(bitmap.pixels, (std::vector<std::uint8_t>{1, 2, 3, 4}));
    }
}

TEST(BitmapReader, CutsThePixelCountToTheFileAndToTheSection) {
    struct Case {
        const char* what;
        std::uint32_t sizeImage;
        std::size_t stored;
        std::size_t expected;
    };
    // A 2 × 2 32-bit section holds 16 bytes.
    const Case cases[] = {
        {"stored size", 8, 16, 8},
        {"zero means the section", 0, 16, 16},
        {"zero, with less in the file", 0, 10, 10},
        {"over the budget", 1000, 12, 12},
        {"over the section", 20, 20, 16},
        {"over both", 0xFFFFFFFF, 20, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto file = bitmapFileStart({.sizeImage = c.sizeImage}).append(counting(c.stored));
        EXPECT_EQ(read(file.data).pixels, counting(c.expected));
    }
}

TEST(BitmapReader, PassesCompressedDataOnWithTheirTrueLength) {
    const auto file =
        bitmapFileStart({.width = 4, .height = 4, .bitCount = 8, .compression = 1, .sizeImage = 99})
            .fill(256 * 4, 0)
            .append(counting(70)); // more than the 4 × 4 section, less than the stored size
    const DecodedBitmap bitmap = read(file.data);
    EXPECT_TRUE(bitmap.compressed);
    EXPECT_FALSE(bitmap.is32Bit());
    EXPECT_EQ(bitmap.pixels, counting(70));
    EXPECT_EQ(bitmap.header.sizeImage, 70u);
}

TEST(BitmapReader, EmptyFileGivesAnEmptyPicture) {
    const std::vector<std::uint8_t> stored = {0, 0, 0, 0, 0xAB};
    ByteReader reader(stored);
    const DecodedBitmap bitmap = readBitmapPicture(reader);
    EXPECT_TRUE(bitmap.empty());
    EXPECT_FALSE(bitmap.is32Bit());
    EXPECT_EQ(reader.position(), 4u);

    // A picture of no rows is as empty, whatever bytes follow its header.
    const DecodedBitmap noRows = read(bitmapFileStart({.height = 0}).append(counting(8)).data);
    EXPECT_TRUE(noRows.empty());
    EXPECT_EQ(noRows.sectionSize(), 0u);
}

TEST(BitmapReader, RejectsWhatIsNotAValidBitmap) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> file;
    };
    auto withType = [](const char* type) {
        auto file = bitmapFileStart({}).fill(16, 0).data;
        file[0] = static_cast<std::uint8_t>(type[0]);
        file[1] = static_cast<std::uint8_t>(type[1]);
        return file;
    };
    const Case cases[] = {
        {"type MB", withType("MB")},
        {"type bm", withType("bm")},
        {"planes 0", bitmapFileStart({.planes = 0}).fill(16, 0).data},
        {"planes 2", bitmapFileStart({.planes = 2}).fill(16, 0).data},
        {"core header planes 0",
         bitmapFileStart({.size = 12, .width = 1, .height = 1, .planes = 0, .bitCount = 24})
             .fill(4, 0)
             .data},
        // Hand-made: sizes that no BMP header has, so no writer stores them.
        {"header size 16", Bytes().text("BM").fill(12, 0).u32(16).fill(40, 0).data},
        {"header size 0", Bytes().text("BM").fill(12, 0).u32(0).fill(40, 0).data},
        {"negative width", bitmapFileStart({.width = -2}).fill(16, 0).data},
        {"height that has no absolute value",
         bitmapFileStart({.height = std::numeric_limits<std::int32_t>::min()}).data},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            read(c.file);
            ADD_FAILURE() << "read a bitmap that is not valid";
        } catch (const InvalidBitmap& error) {
            EXPECT_STREQ(error.what(), "Bitmap image is not valid");
        }
    }
}

TEST(BitmapReader, FailsCleanlyWhenLengthsPromiseMoreThanIsStored) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> stored;
    };
    const auto file = bitmapFileStart({}).append(counting(16)).data;
    // Hand-made where no writer would go: lengths and a header size that overstate the file.
    auto withLength = [&](std::uint32_t length) { return Bytes().u32(length).append(file).data; };
    const Case cases[] = {
        {"S past the end", withLength(static_cast<std::uint32_t>(file.size() + 1))},
        {"S of 0xFFFFFFFF", withLength(0xFFFFFFFF)},
        {"no S", {1, 2, 3}},
        {"colour table longer than the file",
         sizedFile(bitmapFileStart({.bitCount = 8, .clrUsed = 0x40000000}).data)},
        {"header longer than the file",
         sizedFile(Bytes().text("BM").fill(12, 0).u32(0xFFFFFFF0).fill(40, 0).data)},
        {"masks cut off", sizedFile(bitmapFileStart({.compression = 3}).u32(0xFF).data)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ByteReader reader(c.stored);
        EXPECT_THROW(readBitmapPicture(reader), PictureReadError);
    }
}

// Every shorter file, its length S told truthfully, either reads as a shorter picture or fails
// with one of the two reading errors; the file is never read beyond its S bytes.
TEST(BitmapReader, SurvivesAFileCutAtEveryOffset) {
    Bytes whole = bitmapFileStart({.width = 3, .bitCount = 8});
    for (std::uint32_t i = 0; i < 256; ++i) {
        whole.u32(i);
    }
    whole.append(counting(8));
    for (std::size_t length = 1; length < whole.data.size(); ++length) {
        SCOPED_TRACE(length);
        const std::vector<std::uint8_t> cut(whole.data.begin(),
                                            whole.data.begin() + static_cast<long>(length));
        const auto stored = sizedFile(cut);
        ByteReader reader(stored);
        try {
            const DecodedBitmap bitmap = readBitmapPicture(reader);
            EXPECT_GE(length, 54u + 256 * 4) << "nothing short of the tables reads";
            EXPECT_EQ(bitmap.pixels.size(), length - 54 - 256 * 4);
        } catch (const PictureReadError&) {
            EXPECT_LT(length, 54u + 256 * 4);
        }
    }
}

// Each header byte in turn set to 0x00 and to 0xFF: the result, if any, never holds more
// pixel bytes than the section or the file has room for.
TEST(BitmapReader, SurvivesCorruptedHeaderBytes) {
    const auto whole =
        bitmapFileStart({.width = 3, .height = -2, .bitCount = 24}).append(counting(16));
    for (std::size_t offset = 0; offset < 54; ++offset) {
        for (const std::uint8_t value : {0x00, 0xFF}) {
            SCOPED_TRACE(testing::Message() << "byte " << offset << " = " << int{value});
            auto file = whole.data;
            file[offset] = value;
            try {
                const DecodedBitmap bitmap = read(file);
                EXPECT_LE(bitmap.pixels.size(), 16u);
                if (!bitmap.compressed) {
                    EXPECT_LE(bitmap.pixels.size(), bitmap.sectionSize());
                }
            } catch (const Error& error) {
                EXPECT_TRUE(dynamic_cast<const InvalidBitmap*>(&error) != nullptr ||
                            dynamic_cast<const PictureReadError*>(&error) != nullptr)
                    << error.what();
            }
        }
    }
}

TEST(BitmapReader, AbsurdSizesDoNotOverflow) {
    const std::int32_t huge = std::numeric_limits<std::int32_t>::max();
    struct Case {
        std::int32_t width;
        std::int32_t height;
        std::uint16_t bitCount;
    };
    const Case cases[] = {{huge, huge, 32}, {huge, -huge, 0xFFFF}, {huge, 1, 32}, {0, huge, 32}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " × " << c.height << " × " << c.bitCount);
        const auto file =
            bitmapFileStart({.width = c.width, .height = c.height, .bitCount = c.bitCount})
                .append({1, 2, 3, 4});
        const DecodedBitmap bitmap = read(file.data);
        EXPECT_EQ(bitmap.pixels.size(), c.width == 0 ? 0u : 4u);
        EXPECT_EQ(bitmap.height(), c.height < 0 ? -c.height : c.height);
    }
}

} // namespace
} // namespace hk
