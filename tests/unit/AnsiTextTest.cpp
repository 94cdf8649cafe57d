#include "platform/AnsiText.h"

#include "tests/unit/LeadBytes.h"

#include <gtest/gtest.h>

namespace hk {
namespace {

using test::isShiftJisLead;

TEST(AnsiText, EachCodePageSaysHowLongACharacterIsAndWhetherAByteLowersAlone) {
    struct Case {
        unsigned codePage;
        unsigned char byte;
        std::size_t length;
        bool lowersAlone;
    };
    const Case cases[] = {
        {1252, 'A', 1, true},    {1252, 0xC3, 1, true}, // "Ã", a capital letter
        {932, 0x95, 2, true},    {932, 0xB1, 1, true},  // a half-width katakana
        {65001, 'A', 1, true},   {65001, 0xC3, 2, false}, {65001, 0xE2, 3, false},
        {65001, 0xF0, 4, false}, {65001, 0xA9, 1, false}, // a trail byte leads nothing
        {65001, 0xC0, 1, false},                          // one that UTF-8 never uses
        {65001, 0xFF, 1, false},                          // nor this
    };
    for (const Case& c : cases) {
        const bool platformLead = c.codePage == 932 && isShiftJisLead(c.byte);
        EXPECT_EQ(characterLength(c.codePage, c.byte, platformLead), c.length)
            << c.codePage << " " << int{c.byte};
        EXPECT_EQ(lowersAsSingleByte(c.codePage, c.byte), c.lowersAlone)
            << c.codePage << " " << int{c.byte};
    }
}

TEST(AnsiText, OnlyCodePagesThatCanLackACharacterAreConvertedExactly) {
    const std::pair<unsigned, bool> cases[] = {
        {1252, true}, {1251, true}, {932, true}, {65001, false}, {65000, false}};
    for (const auto& [codePage, exact] : cases) {
        EXPECT_EQ(convertsExactly(codePage), exact) << codePage;
    }
}

} // namespace
} // namespace hk
