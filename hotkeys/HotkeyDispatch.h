#pragma once

#include "base/LeadByte.h"
#include "hotkeys/HotkeyPlatform.h"
#include "hotkeys/HotkeyTable.h"

#include <string>
#include <vector>

namespace hk {

// The two slots live for the whole run and belong to no window: the window a binding hotkey
// took (null until then) and the start of its title.
extern WindowHandle TargetWindow1;
extern TitleBuffer TargetTitle1;
extern WindowHandle TargetWindow2;
extern TitleBuffer TargetTitle2;

// One slot as dispatch sees it.
struct TargetSlot {
    WindowHandle& window;
    TitleBuffer& title;
};

// A slot caption that a press changed: the shell shows slot 1 in Label2 and slot 2 in Label1.
struct CaptionChange {
    int slot;
    std::string caption;
};

std::string slotCaption(const TitleBuffer& title, const LeadBytePredicate& isLeadByte);

class HotkeyDispatch {
public:
    HotkeyDispatch(HotkeyPlatform& platform, const TargetSlot& slot1, const TargetSlot& slot2,
                   LeadBytePredicate isLeadByte);

    // Every row is tested, so identifiers shared by several rows (failed atoms are all 0) take
    // every matching action.
    std::vector<CaptionChange> WMHotKey(const HotkeyIds& ids, std::uint32_t id);

private:
    void take(const HotkeyRow& row, std::vector<CaptionChange>& changes);
    CaptionChange bind(const TargetSlot& slot, int number);

    HotkeyPlatform& platform;
    TargetSlot slot1;
    TargetSlot slot2;
    LeadBytePredicate isLeadByte;
};

} // namespace hk
