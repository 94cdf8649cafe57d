#include "hotkeys/HotkeyTable.h"

namespace hk {

namespace {

constexpr HotkeyRow slot2Row(const char* atomName, int digit) {
    const auto offset = static_cast<std::uint8_t>(digit - 1);
    return {atomName, kModNone, static_cast<std::uint8_t>(kVkDigit1 + offset),
            HotkeyAction::ForwardToSlot2, static_cast<std::uint8_t>(kVkF1 + offset)};
}

constexpr HotkeyRow slot1Row(const char* atomName, int functionKey) {
    const auto vk = static_cast<std::uint8_t>(kVkF1 + functionKey - 1);
    return {atomName, kModNone, vk, HotkeyAction::ForwardToSlot1, vk};
}

} // namespace

// The atom names skip "Hotkey8" to "Hotkey10"; other copies of the program rely on these exact
// names to arrive at the same identifiers.
const std::array<HotkeyRow, kHotkeyCount> kHotkeyTable = {{
    {"Hotkey1", kModAlt, 0x4E, HotkeyAction::BindSlot1, 0},
    {"Hotkey2", kModAlt, 0x4D, HotkeyAction::BindSlot2, 0},
    slot2Row("Hotkey3", 1),
    slot2Row("Hotkey4", 2),
    slot2Row("Hotkey5", 3),
    slot2Row("Hotkey6", 4),
    slot2Row("Hotkey7", 5),
    slot1Row("Hotkey11", 1),
    slot1Row("Hotkey12", 2),
    slot1Row("Hotkey13", 3),
    slot1Row("Hotkey14", 4),
    slot1Row("Hotkey15", 5),
    slot1Row("Hotkey16", 6),
    slot1Row("Hotkey17", 7),
    slot1Row("Hotkey18", 8),
    slot1Row("Hotkey19", 9),
    slot1Row("Hotkey20", 10),
    slot1Row("Hotkey21", 11),
    slot1Row("Hotkey22", 12),
}};

} // namespace hk
