#include "hotkeys/HotkeyRegistration.h"

#include "FakeHotkeyPlatform.h"

#include <gtest/gtest.h>

namespace hk {
namespace {

TEST(HotkeyRegistration, AddsEachAtomThenRegistersItsKeyOnTheWindowInTableOrder) {
    FakeHotkeyPlatform platform;
    for (std::size_t row = 0; row < kHotkeyCount; ++row) {
        platform.atoms[kHotkeyTable[row].atomName] = static_cast<std::uint16_t>(0xC100 + row);
    }

    const HotkeyIds ids = registerHotkeys(platform, 77);

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

    const HotkeyIds ids = registerHotkeys(platform, 5);

    EXPECT_EQ(ids[0], 0xC001u);
    EXPECT_EQ(ids[1], 0u);
    EXPECT_EQ(ids[18], 0xC022u);
    EXPECT_EQ(platform.calls.size(), 2 * kHotkeyCount);
    EXPECT_EQ(platform.calls[3], "register 5 0 1 77"); // Alt+M with the failed atom's 0
}

} // namespace
} // namespace hk
