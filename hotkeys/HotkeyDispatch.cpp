#include "hotkeys/HotkeyDispatch.h"

#include <algorithm>
#include <utility>

namespace hk {

WindowHandle TargetWindow1 = 0;
TitleBuffer TargetTitle1{};
WindowHandle TargetWindow2 = 0;
TitleBuffer TargetTitle2{};

// The title read is cut at 11 bytes, which in a double-byte code page can split a character;
// its orphaned lead byte would show as garbage, so it is dropped.
std::string slotCaption(const TitleBuffer& title, const LeadBytePredicate& isLeadByte) {
    const auto end = std::find(title.begin(), title.end() - 1, '\0');
    std::string text(title.begin(), end);
    std::size_t whole = 0;
    forEachCharacter(text, isLeadByte, [&](std::size_t at, std::size_t length) {
        if (at + length <= text.size()) {
            whole = at + length;
        }
    });
    text.resize(whole);
    return text + "+";
}

HotkeyDispatch::HotkeyDispatch(HotkeyPlatform& platform, const TargetSlot& slot1,
                               const TargetSlot& slot2, LeadBytePredicate isLeadByte)
    : platform(platform), slot1(slot1), slot2(slot2), isLeadByte(std::move(isLeadByte)) {}

// The order in which a press's actions are taken when several rows share its identifier: both
// bindings first, so that the keys posted by the same press go to the windows it bound.
constexpr HotkeyAction kDispatchOrder[] = {HotkeyAction::BindSlot2, HotkeyAction::BindSlot1,
                                           HotkeyAction::ForwardToSlot2,
                                           HotkeyAction::ForwardToSlot1};

std::vector<CaptionChange> HotkeyDispatch::WMHotKey(const HotkeyIds& ids, std::uint32_t id) {
    std::vector<CaptionChange> changes;
    for (const HotkeyAction action : kDispatchOrder) {
        for (std::size_t row = 0; row < kHotkeyCount; ++row) {
            if (kHotkeyTable[row].action == action && id == ids[row]) {
                take(kHotkeyTable[row], changes);
            }
        }
    }
    return changes;
}

void HotkeyDispatch::take(const HotkeyRow& row, std::vector<CaptionChange>& changes) {
    switch (row.action) {
    case HotkeyAction::BindSlot1:
        changes.push_back(bind(slot1, 1));
        return;
    case HotkeyAction::BindSlot2:
        changes.push_back(bind(slot2, 2));
        return;
    case HotkeyAction::ForwardToSlot1:
        platform.postKeyDown(slot1.window, row.forwardedKey);
        return;
    case HotkeyAction::ForwardToSlot2:
        platform.postKeyDown(slot2.window, row.forwardedKey);
        return;
    }
}

// The buffer is cleared first so that a title that cannot be read shows as "+" rather than
// as the previously bound window's title.
CaptionChange HotkeyDispatch::bind(const TargetSlot& slot, int number) {
    slot.window = platform.foregroundWindow();
    slot.title.fill('\0');
    platform.readWindowTitle(slot.window, slot.title);
    return {number, slotCaption(slot.title, isLeadByte)};
}

} // namespace hk
