#include "hotkeys/HotkeyRegistration.h"

#include "FakeHotkeyPlatform.h"
#include "hotkeys/HotkeyDispatch.h"

#include <gtest/gtest.h>

namespace hk {
namespace {

TEST(HotkeyRegistration, AddsEachAtomThenRegistersItsKeyOnTheWindowInTableOrder) {
    FakeHotkeyPlatform platform;
    for (std::size_t row = 0; row < kHotkeyCount; ++row) {
        platform.atoms[kHotkeyTable[row].atomName] = static_cast<std::uint16_t>(0xC100 + row);
    }

    HotkeyIds ids{};
    registerHotkeys(platform, 77, ids);

    std::vector<std::string> expected;
    for (std::size_t row = 0; row < kHotkeyCount; ++row) {
        const HotkeyRow& entry = kHotkeyTable[row];
        EXPECT_EQ(ids[row], 0xC100 + row) << entry.atomName;
        expected.push_back(std::string("atom ") + entry.atomName);
        expected.push_back("register 77 " + std::to_string(0xC100 + row) + " " +
                           std::to_string(entry.modifiers) + " " + std::to_string(entry.key));
    }
    EXPECT_EQ(platform.calls, expected);
}

TEST(HotkeyRegistration, FailedAtomIsRegisteredAsZeroAndTheRowsAfterItStillRun) {
    FakeHotkeyPlatform platform;
    platform.atoms = {{"Hotkey1", 0xC001}, {"Hotkey22", 0xC022}};

    HotkeyIds ids{};
    registerHotkeys(platform, 5, ids);

    EXPECT_EQ(ids[0], 0xC001u);
    EXPECT_EQ(ids[1], 0u);
    EXPECT_EQ(ids[18], 0xC022u);
    EXPECT_EQ(platform.calls.size(), 2 * kHotkeyCount);
    EXPECT_EQ(platform.calls[3], "register 5 0 1 77"); // Alt+M with the failed atom's 0
}

// An error part-way through must not leave keys that are held but never told apart.
TEST(HotkeyRegistration, RowsRegisteredBeforeAnErrorAreMatchedByDispatch) {
    FakeHotkeyPlatform platform;
    for (std::size_t row = 0; row < kHotkeyCount; ++row) {
        platform.atoms[kHotkeyTable[row].atomName] = static_cast<std::uint16_t>(0xC100 + row);
    }
    platform.failingAtom = "Hotkey11"; // row 8, F1
    HotkeyIds ids{};
    EXPECT_THROW(registerHotkeys(platform, 5, ids), std::runtime_error);

    WindowHandle window1 = 0;
    TitleBuffer title1{};
    WindowHandle window2 = 0;
    TitleBuffer title2{};
    HotkeyDispatch dispatch(platform, {window1, title1}, {window2, title2},
                            [](unsigned char) { return false; });
    platform.foreground = 42;
    platform.calls.clear();
    EXPECT_EQ(dispatch.WMHotKey(ids, 0xC101).captions.size(), 1u) << "Alt+M binds slot 2";
    dispatch.WMHotKey(ids, 0xC106); // the digit 5
    dispatch.WMHotKey(ids, 0xC107); // F1, never registered
    EXPECT_EQ(platform.calls, (std::vector<std::string>{"foreground", "title 42", "post 42 116"}));
}

} // namespace
} // namespace hk
