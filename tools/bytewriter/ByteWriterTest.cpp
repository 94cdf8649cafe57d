#include "tools/bytewriter/ByteWriter.h"

#include "base/ByteReader.h"

#include <gtest/gtest.h>
#include <vector>

namespace hk {
namespace {

TEST(ByteWriter, WritesLittleEndianLayoutsThatTheReaderReadsBack) {
    const std::vector<std::uint8_t> run = {0xAA, 0xBB};
    ByteWriter writer;
    writer.u8(0xFE).u16(0x0104).u32(0x12345678).text("BM").append(run).fill(3, 0xEE).u8(0);

    const std::vector<std::uint8_t> expected = {0xFE, 0x04, 0x01, 0x78, 0x56, 0x34, 0x12, 'B',
                                                'M',  0xAA, 0xBB, 0xEE, 0xEE, 0xEE, 0x00};
    EXPECT_EQ(writer.data, expected);

    ByteReader reader(writer.data);
    EXPECT_EQ(reader.i8(), -2);
    EXPECT_EQ(reader.u16(), 0x0104);
    EXPECT_EQ(reader.u32(), 0x12345678u);
    EXPECT_TRUE(reader.skip(8));
    EXPECT_TRUE(reader.ok());
    EXPECT_TRUE(reader.atEnd());
}

TEST(ByteWriter, AppendsToWhatItAlreadyHolds) {
    ByteWriter writer{{1, 2}};
    writer.append(std::vector<std::uint8_t>{}).fill(0, 9).u16(0xFFFF);
    EXPECT_EQ(writer.data, (std::vector<std::uint8_t>{1, 2, 0xFF, 0xFF}));
}

} // namespace
} // namespace hk
