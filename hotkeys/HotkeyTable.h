#pragma once

#include <array>
#include <cstdint>

namespace hk {

constexpr unsigned kModNone = 0;
constexpr unsigned kModAlt = 1;

constexpr std::uint8_t kVkF1 = 0x70;
constexpr std::uint8_t kVkDigit1 = 0x31;

enum class HotkeyAction { BindSlot1, BindSlot2, ForwardToSlot1, ForwardToSlot2 };

struct HotkeyRow {
    const char* atomName;
    unsigned modifiers;
    std::uint8_t key;
    HotkeyAction action;
    std::uint8_t forwardedKey; // the function key posted on a press; 0 for the binding rows
};

constexpr std::size_t kHotkeyCount = 19;

// Registration order matters: identifiers are kept in HotkeyIds in this order.
extern const std::array<HotkeyRow, kHotkeyCount> kHotkeyTable;

// One identifier per row: the 16-bit atom value of the row's name, widened with zeros.
using HotkeyIds = std::array<std::uint32_t, kHotkeyCount>;

} // namespace hk
