#include "hotkeys/HotkeyTable.h"

#include <gtest/gtest.h>
#include <string>

namespace hk {
namespace {

struct ExpectedRow {
    std::string atomName;
    unsigned modifiers;
    unsigned key;
    HotkeyAction action;
    unsigned forwardedKey;
};

TEST(HotkeyTable, HoldsTheNineteenRowsInRegistrationOrder) {
    using A = HotkeyAction;
    const ExpectedRow expected[kHotkeyCount] = {
        {"Hotkey1", 1, 0x4E, A::BindSlot1, 0},
        {"Hotkey2", 1, 0x4D, A::BindSlot2, 0},
        {"Hotkey3", 0, 0x31, A::ForwardToSlot2, 0x70},
        {"Hotkey4", 0, 0x32, A::ForwardToSlot2, 0x71},
        {"Hotkey5", 0, 0x33, A::ForwardToSlot2, 0x72},
        {"Hotkey6", 0, 0x34, A::ForwardToSlot2, 0x73},
        {"Hotkey7", 0, 0x35, A::ForwardToSlot2, 0x74},
        {"Hotkey11", 0, 0x70, A::ForwardToSlot1, 0x70},
        {"Hotkey12", 0, 0x71, A::ForwardToSlot1, 0x71},
        {"Hotkey13", 0, 0x72, A::ForwardToSlot1, 0x72},
        {"Hotkey14", 0, 0x73, A::ForwardToSlot1, 0x73},
        {"Hotkey15", 0, 0x74, A::ForwardToSlot1, 0x74},
        {"Hotkey16", 0, 0x75, A::ForwardToSlot1, 0x75},
        {"Hotkey17", 0, 0x76, A::ForwardToSlot1, 0x76},
        {"Hotkey18", 0, 0x77, A::ForwardToSlot1, 0x77},
        {"Hotkey19", 0, 0x78, A::ForwardToSlot1, 0x78},
        {"Hotkey20", 0, 0x79, A::ForwardToSlot1, 0x79},
        {"Hotkey21", 0, 0x7A, A::ForwardToSlot1, 0x7A},
        {"Hotkey22", 0, 0x7B, A::ForwardToSlot1, 0x7B},
    };
    for (std::size_t i = 0; i < kHotkeyCount; ++i) {
        SCOPED_TRACE("row " + std::to_string(i + 1));
        const HotkeyRow& row = kHotkeyTable[i];
        EXPECT_EQ(row.atomName, expected[i].atomName);
        EXPECT_EQ(row.modifiers, expected[i].modifiers);
        EXPECT_EQ(row.key, expected[i].key);
        EXPECT_EQ(row.action, expected[i].action);
        EXPECT_EQ(row.forwardedKey, expected[i].forwardedKey);
    }
}

} // namespace
} // namespace hk
