#include "hotkeys/HotkeyDispatch.h"

#include <algorithm>
#include <utility>

namespace hk {

WindowHandle TargetWindow1 = 0;
TitleBuffer TargetTitle1{};
WindowHandle TargetWindow2 = 0;
TitleBuffer TargetTitle2{};

// The title read is cut at 11 bytes, which in a double-byte code page or UTF-8 can split a
// character; the bytes left of it would show as garbage, so they are dropped.
std::string slotCaption(const TitleBuffer& title, const CharacterLength& characterLength) {
    const auto end = std::find(title.begin(), title.end() - 1, '\0');
    std::string text(title.begin(), end);
    std::size_t whole = 0;
    forEachCharacter(text, characterLength, [&](std::size_t at, std::size_t length) {
        if (at + length <= text.size()) {
            whole = at + length;
        }
    });
    text.resize(whole);
    return text + "+";
}

std::string refusedPostText(std::uint32_t error, const std::string& errorText,
                            const std::string& title) {
    const std::string window = "\"" + title + "\"";
    if (error == kErrorAccessDenied) {
        return errorText + "\r\n" + window +
               " runs with higher rights than HotKeys, so Windows does not let HotKeys send it "
               "keys. Start HotKeys as administrator to drive it.";
    }
    return errorText + "\r\nHotKeys could not send a key to " + window + ".";
}

HotkeyDispatch::HotkeyDispatch(HotkeyPlatform& platform, const TargetSlot& slot1,
                               const TargetSlot& slot2, CharacterLength characterLength)
    : platform(platform), slot1{slot1, 1}, slot2{slot2, 2},
      characterLength(std::move(characterLength)) {}

// The order in which a press's actions are taken when several rows share its identifier: both
// bindings first, so that the keys posted by the same press go to the windows it bound.
constexpr HotkeyAction kDispatchOrder[] = {HotkeyAction::BindSlot2, HotkeyAction::BindSlot1,
                                           HotkeyAction::ForwardToSlot2,
                                           HotkeyAction::ForwardToSlot1};

HotkeyOutcome HotkeyDispatch::WMHotKey(const HotkeyIds& ids, std::uint32_t id) {
    HotkeyOutcome outcome;
    for (const HotkeyAction action : kDispatchOrder) {
        for (std::size_t row = 0; row < kHotkeyCount; ++row) {
            if (kHotkeyTable[row].action == action && id == ids[row]) {
                take(kHotkeyTable[row], outcome);
            }
        }
    }
    return outcome;
}

void HotkeyDispatch::take(const HotkeyRow& row, HotkeyOutcome& outcome) {
    switch (row.action) {
    case HotkeyAction::BindSlot1:
        outcome.captions.push_back(bind(slot1));
        return;
    case HotkeyAction::BindSlot2:
        outcome.captions.push_back(bind(slot2));
        return;
    case HotkeyAction::ForwardToSlot1:
        forward(slot1, row.forwardedKey, outcome);
        return;
    case HotkeyAction::ForwardToSlot2:
        forward(slot2, row.forwardedKey, outcome);
        return;
    }
}

// The buffer is cleared first so that a title that cannot be read shows as "+" rather than
// as the previously bound window's title. A new binding may meet a new refusal: it is told again.
CaptionChange HotkeyDispatch::bind(Slot& slot) {
    slot.target.window = platform.foregroundWindow();
    slot.target.title.fill('\0');
    platform.readWindowTitle(slot.target.window, slot.target.title);
    slot.refusalReported = false;
    return {slot.number, slotCaption(slot.target.title, characterLength)};
}

// A window that has gone has always been passed over in silence: its slot simply waits for the
// next binding. Any other refusal is told once per binding, and only one per press; the keys
// that follow are still posted, since the window may accept them again.
void HotkeyDispatch::forward(Slot& slot, std::uint8_t key, HotkeyOutcome& outcome) {
    const auto error = platform.postKeyDown(slot.target.window, key);
    if (!error || *error == kErrorInvalidWindowHandle || slot.refusalReported || outcome.refusal) {
        return;
    }
    slot.refusalReported = true;
    outcome.refusal = refusedPostText(*error, platform.errorText(*error),
                                      platform.windowTitle(slot.target.window));
}

} // namespace hk
