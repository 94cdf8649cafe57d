#pragma once

#include "base/Error.h"
#include "hotkeys/HotkeyPlatform.h"
#include "hotkeys/HotkeyTable.h"
#include "platform/AnsiText.h"

#include <optional>
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

// What one press did that the shell carries out: captions to show, and the words for a bound
// window that refused its key, to be reported once the press has been handled.
struct HotkeyOutcome {
    std::vector<CaptionChange> captions;
    std::optional<std::string> refusal;
};

// A bound window that the platform does not let the program send keys to.
class PostRefused : public Error {
public:
    PostRefused(const std::string& message, const void* address)
        : Error("PostRefused", message, address) {}
};

std::string slotCaption(const TitleBuffer& title, const CharacterLength& characterLength);

// The message for a window that refused a key: the platform's words for the error and, when the
// window runs with higher rights, what the user can do about it.
std::string refusedPostText(std::uint32_t error, const std::string& errorText,
                            const std::string& title);

class HotkeyDispatch {
public:
    HotkeyDispatch(HotkeyPlatform& platform, const TargetSlot& slot1, const TargetSlot& slot2,
                   CharacterLength characterLength);

    // Every row is tested, so identifiers shared by several rows (failed atoms are all 0) take
    // every matching action. A refused key is reported once per binding of its slot.
    HotkeyOutcome WMHotKey(const HotkeyIds& ids, std::uint32_t id);

private:
    struct Slot {
        TargetSlot target;
        int number;
        bool refusalReported = false;
    };

    void take(const HotkeyRow& row, HotkeyOutcome& outcome);
    CaptionChange bind(Slot& slot);
    void forward(Slot& slot, std::uint8_t key, HotkeyOutcome& outcome);

    HotkeyPlatform& platform;
    Slot slot1;
    Slot slot2;
    CharacterLength characterLength;
};

} // namespace hk
