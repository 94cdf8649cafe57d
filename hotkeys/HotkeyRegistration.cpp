#include "hotkeys/HotkeyRegistration.h"

namespace hk {

// Results are deliberately not examined: a failed atom gives identifier 0 and is registered like
// any other, and a combination held by another program simply never reaches us.
void registerHotkeys(HotkeyPlatform& platform, WindowHandle window, HotkeyIds& ids) {
    for (std::size_t row = 0; row < kHotkeyCount; ++row) {
        const HotkeyRow& entry = kHotkeyTable[row];
        ids[row] = platform.addAtom(entry.atomName);
        platform.registerHotkey(window, ids[row], entry.modifiers, entry.key);
    }
}

} // namespace hk
