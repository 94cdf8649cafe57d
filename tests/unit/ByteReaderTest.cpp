#include "base/ByteReader.h"

#include <gtest/gtest.h>
#include <vector>

namespace hk {
namespace {

TEST(ByteReader, ReadsLittleEndianIntegersAndShortStrings) {
    const std::vector<std::uint8_t> bytes = {0xFE, 0x04, 0x01, 0x78, 0x56, 0x34, 0x12,
                                             0xFF, 0x80, 3,    'a',  'b',  'c'};
    ByteReader reader(bytes);
    EXPECT_EQ(reader.i8(), -2);
    EXPECT_EQ(reader.u16(), 0x0104);
    EXPECT_EQ(reader.u32(), 0x12345678u);
    EXPECT_EQ(reader.i16(), static_cast<std::int16_t>(0x80FF));
    EXPECT_EQ(reader.shortString(), "abc");
    EXPECT_TRUE(reader.ok());
    EXPECT_TRUE(reader.atEnd());
}

TEST(ByteReader, ReadPastTheEndFailsForGoodWithoutMoving) {
    const std::vector<std::uint8_t> bytes = {1, 2, 3};
    ByteReader reader(bytes);
    EXPECT_EQ(reader.u16(), 0x0201);
    EXPECT_EQ(reader.u32(), 0u);
    EXPECT_FALSE(reader.ok());
    EXPECT_EQ(reader.position(), 2u);
    EXPECT_EQ(reader.u8(), 0u) << "the error is sticky even when enough bytes remain";
    EXPECT_EQ(reader.remaining(), 0u);
}

TEST(ByteReader, HugeCountsCannotOverflowTheBoundsCheck) {
    const std::vector<std::uint8_t> bytes = {5, 'a', 'b'};
    ByteReader shortString(bytes);
    EXPECT_EQ(shortString.shortString(), "");
    EXPECT_FALSE(shortString.ok());

    ByteReader huge(bytes);
    huge.u8();
    EXPECT_TRUE(huge.bytes(SIZE_MAX).empty());
    EXPECT_FALSE(huge.ok());
}

} // namespace
} // namespace hk
