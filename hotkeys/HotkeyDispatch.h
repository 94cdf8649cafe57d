#pragma once

#include "hotkeys/HotkeyPlatform.h"
#include "hotkeys/HotkeyTable.h"
#include "platform/LeadByte.h"

#include <string>
#include <vector>

namespace hk {

struct TargetSlot {
    WindowHandle window = 0;
    TitleBuffer title{};
};

// The two slots live for the whole run and belong to no window.
extern TargetSlot TargetSlot1;
extern TargetSlot TargetSlot2;

// A slot caption that a press changed: the shell shows slot 1 in Label2 and slot 2 in Label1.
struct CaptionChange {
    int slot;
    std::string caption;
};

std::string slotCaption(const TitleBuffer& title, const LeadBytePredicate& isLeadByte);

class HotkeyDispatch {
public:
    HotkeyDispatch(HotkeyPlatform& platform, TargetSlot& slot1, TargetSlot& slot2,
                   LeadBytePredicate isLeadByte);

    // Every row is tested, so identifiers shared by several rows (failed atoms are all 0) take
    // every matching action.
    std::vector<CaptionChange> WMHotKey(const HotkeyIds& ids, std::uint32_t id);

private:
    CaptionChange bind(TargetSlot& slot, int number);

    HotkeyPlatform& platform;
    TargetSlot& slot1;
    TargetSlot& slot2;
    LeadBytePredicate isLeadByte;
};

} // namespace hk
