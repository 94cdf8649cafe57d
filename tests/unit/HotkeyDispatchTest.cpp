#include "hotkeys/HotkeyDispatch.h"

#include "FakeHotkeyPlatform.h"
#include "tests/unit/LeadBytes.h"

#include <gtest/gtest.h>

namespace hk {
namespace {

using test::lengthsIn;

// Rows of the hotkey table by their keys.
constexpr std::size_t kAltNRow = 0;
constexpr std::size_t kAltMRow = 1;
constexpr std::size_t kDigit1Row = 2;
constexpr std::size_t kF1Row = 7;

HotkeyIds distinctIds() {
    HotkeyIds ids{};
    for (std::size_t row = 0; row < kHotkeyCount; ++row) {
        ids[row] = static_cast<std::uint32_t>(0xC000 + row);
    }
    return ids;
}

class HotkeyDispatchTest : public ::testing::Test {
protected:
    FakeHotkeyPlatform platform;
    WindowHandle window1 = 0;
    TitleBuffer title1{};
    WindowHandle window2 = 0;
    TitleBuffer title2{};
    TargetSlot slot1{window1, title1};
    TargetSlot slot2{window2, title2};
    HotkeyDispatch dispatch{platform, slot1, slot2, lengthsIn(932)};
    HotkeyIds ids = distinctIds();
};

TEST_F(HotkeyDispatchTest, EachIdentifierTakesTheActionOfItsRow) {
    slot1.window = 100;
    slot2.window = 200;
    platform.foreground = 300;
    platform.titles[300] = "Editor";
    struct Case {
        std::size_t row;
        std::vector<std::string> calls;
        std::vector<int> boundSlots;
    };
    const Case cases[] = {
        {0, {"foreground", "title 300"}, {1}},
        {1, {"foreground", "title 300"}, {2}},
        {2, {"post 200 112"}, {}},
        {3, {"post 200 113"}, {}},
        {4, {"post 200 114"}, {}},
        {5, {"post 200 115"}, {}},
        {6, {"post 200 116"}, {}},
        {7, {"post 100 112"}, {}},
        {8, {"post 100 113"}, {}},
        {9, {"post 100 114"}, {}},
        {10, {"post 100 115"}, {}},
        {11, {"post 100 116"}, {}},
        {12, {"post 100 117"}, {}},
        {13, {"post 100 118"}, {}},
        {14, {"post 100 119"}, {}},
        {15, {"post 100 120"}, {}},
        {16, {"post 100 121"}, {}},
        {17, {"post 100 122"}, {}},
        {18, {"post 100 123"}, {}},
    };
    for (const Case& c : cases) {
        platform.calls.clear();
        const auto outcome = dispatch.WMHotKey(ids, ids[c.row]);
        std::vector<int> bound;
        for (const auto& change : outcome.captions) {
            bound.push_back(change.slot);
            EXPECT_EQ(change.caption, "Editor+");
        }
        EXPECT_EQ(platform.calls, c.calls) << "row " << c.row + 1;
        EXPECT_EQ(bound, c.boundSlots) << "row " << c.row + 1;
        // Binding the foreground window must not disturb the posts tested after it.
        slot1.window = 100;
        slot2.window = 200;
    }
}

TEST_F(HotkeyDispatchTest, UnknownIdentifierDoesNothing) {
    EXPECT_TRUE(dispatch.WMHotKey(ids, 13).captions.empty());
    EXPECT_TRUE(platform.calls.empty());
}

TEST_F(HotkeyDispatchTest, BindingStoresTheForegroundWindowAndItsTitleInTheSlot) {
    platform.foreground = 42;
    platform.titles[42] = "Calc";

    const auto changes = dispatch.WMHotKey(ids, ids[kAltMRow]).captions;

    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].slot, 2);
    EXPECT_EQ(slot2.window, 42u);
    EXPECT_STREQ(slot2.title.data(), "Calc");
    EXPECT_EQ(slot1.window, 0u);
}

TEST_F(HotkeyDispatchTest, UnboundSlotPostsToTheNullWindow) {
    dispatch.WMHotKey(ids, ids[kDigit1Row]);
    dispatch.WMHotKey(ids, ids[kF1Row]);
    EXPECT_EQ(platform.calls, (std::vector<std::string>{"post 0 112", "post 0 112"}));
}

TEST_F(HotkeyDispatchTest, IdentifierSharedByEveryRowTakesEveryActionInOrder) {
    slot1.window = 1;
    slot2.window = 2;
    platform.foreground = 9;
    const HotkeyIds failed{}; // every atom failed: all identifiers are 0

    const auto changes = dispatch.WMHotKey(failed, 0).captions;

    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].slot, 2);
    EXPECT_EQ(changes[1].slot, 1);
    std::vector<std::string> expected = {"foreground", "title 9", "foreground", "title 9"};
    for (int key = 0x70; key <= 0x74; ++key) {
        expected.push_back("post 9 " + std::to_string(key));
    }
    for (int key = 0x70; key <= 0x7B; ++key) {
        expected.push_back("post 9 " + std::to_string(key));
    }
    EXPECT_EQ(platform.calls, expected);
}

TEST_F(HotkeyDispatchTest, CaptionIsAtMostElevenBytesOfTheTitleInWholeCharactersAndAPlus) {
    struct Case {
        unsigned codePage;
        std::string title;
        std::string caption;
    };
    const Case cases[] = {
        {932, "", "+"},
        {932, "Hello World", "Hello World+"},
        {932, "Hello World!", "Hello World+"},
        {932, "Untitled - Notepad", "Untitled - +"},
        {932, "ABCDEFGHI\x95\x5C", "ABCDEFGHI\x95\x5C+"}, // a double-byte character ends it
        {932, "ABCDEFGHIJ\x95\x5C", "ABCDEFGHIJ+"},       // the cut splits one: lead byte dropped
        {932, "ABCDEFGH\x95\x95\x95\x95", "ABCDEFGH\x95\x95+"}, // a trail byte that could lead
        {1252, "ABCDEFGHIJ\x95\x5C", "ABCDEFGHIJ\x95+"},        // every byte a character
        // UTF-8: U+00E9 is C3 A9, U+20AC E2 82 AC and U+1F600 F0 9F 98 80.
        {65001, "ABCDEFGHI\xC3\xA9", "ABCDEFGHI\xC3\xA9+"},
        {65001, "ABCDEFGHIJ\xC3\xA9", "ABCDEFGHIJ+"},
        {65001, "ABCDEFGHI\xE2\x82\xAC", "ABCDEFGHI+"},
        {65001, "ABCDEFGH\xF0\x9F\x98\x80", "ABCDEFGH+"},
    };
    platform.foreground = 7;
    for (const Case& c : cases) {
        HotkeyDispatch inCodePage{platform, slot1, slot2, lengthsIn(c.codePage)};
        platform.titles[7] = c.title;
        const auto changes = inCodePage.WMHotKey(ids, ids[kAltNRow]).captions;
        ASSERT_EQ(changes.size(), 1u);
        EXPECT_EQ(changes[0].caption, c.caption) << c.codePage << " " << c.title;
    }
}

TEST_F(HotkeyDispatchTest, TitleThatCannotBeReadShowsOnlyThePlus) {
    platform.foreground = 7;
    platform.titles[7] = "Long window title";
    dispatch.WMHotKey(ids, ids[kAltNRow]);

    platform.foreground = 8; // no title can be read from this one
    const auto changes = dispatch.WMHotKey(ids, ids[kAltNRow]).captions;

    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].caption, "+");
}

TEST_F(HotkeyDispatchTest, RefusedKeyIsToldOnceEachBindingWhileItsKeysAreStillPosted) {
    platform.foreground = 300;
    platform.titles[300] = "Notepad - todo.txt";
    platform.refusals[300] = kErrorAccessDenied;
    const std::string told = refusedPostText(kErrorAccessDenied, "Error 5.", "Notepad - todo.txt");

    dispatch.WMHotKey(ids, ids[kAltMRow]);
    std::vector<std::optional<std::string>> refusals;
    for (const std::size_t row : {kDigit1Row, kDigit1Row + 1, kAltMRow, kDigit1Row + 2}) {
        platform.calls.clear();
        refusals.push_back(dispatch.WMHotKey(ids, ids[row]).refusal);
        if (row != kAltMRow) {
            EXPECT_EQ(platform.calls.size(), 1u) << "the key is posted all the same";
        }
    }

    EXPECT_EQ(refusals, (std::vector<std::optional<std::string>>{told, {}, {}, told}));
}

TEST_F(HotkeyDispatchTest, GoneWindowIsPassedOverAndOtherRefusalsAreToldPerSlot) {
    slot1.window = 100;
    slot2.window = 200;
    platform.titles[100] = "Game";
    platform.refusals[200] = kErrorInvalidWindowHandle;
    EXPECT_EQ(dispatch.WMHotKey(ids, ids[kDigit1Row]).refusal, std::nullopt) << "a gone window";
    EXPECT_EQ(dispatch.WMHotKey(ids, ids[kF1Row]).refusal, std::nullopt) << "slot 1 accepts";

    platform.refusals[200] = kErrorAccessDenied;
    platform.refusals[100] = 1816; // the window's queue is full
    EXPECT_EQ(dispatch.WMHotKey(ids, ids[kF1Row]).refusal,
              refusedPostText(1816, "Error 1816.", "Game"));
    EXPECT_EQ(dispatch.WMHotKey(ids, ids[kDigit1Row]).refusal,
              refusedPostText(kErrorAccessDenied, "Error 5.", ""))
        << "slot 1's report leaves slot 2's to come";
    EXPECT_EQ(dispatch.WMHotKey(ids, ids[kF1Row]).refusal, std::nullopt);
}

TEST(RefusedPostText, SaysWhatToDoAboutHigherRightsAndNamesTheWindowOtherwise) {
    EXPECT_EQ(
        refusedPostText(kErrorAccessDenied, "Access is denied.", "Notepad - todo.txt"),
        "Access is denied.\r\n\"Notepad - todo.txt\" runs with higher rights than HotKeys, so "
        "Windows does not let HotKeys send it keys. Start HotKeys as administrator to drive "
        "it.");
    EXPECT_EQ(
        refusedPostText(1816, "Not enough quota is available to process this command.", "Game"),
        "Not enough quota is available to process this command.\r\nHotKeys could not send a "
        "key to \"Game\".");
}

} // namespace
} // namespace hk
