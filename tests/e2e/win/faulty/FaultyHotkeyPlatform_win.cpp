// HotKeysFaulty's hotkey platform, linked in place of hotkeys/SystemHotkeyPlatform_win.cpp: the
// program's own, except that adding the atom "Hotkey11" fails, as with a full atom table, and a
// key posted to a window whose title starts with "Elevated" is reported refused with
// ERROR_ACCESS_DENIED, as Windows refuses a window of a program running with higher rights. The
// key is posted all the same, so that the tests see every key the program goes on sending.
#include "base/Error.h"
#include "hotkeys/HotkeyPlatform_win.h"
#include "hotkeys/SystemHotkeyPlatform_win.h"

#include <string_view>

namespace hk {

namespace {

class FaultyHotkeyPlatform : public Win32HotkeyPlatform {
public:
    std::uint16_t addAtom(const char* name) override {
        if (std::string_view(name) == "Hotkey11") {
            raise<SystemError>("The atom Hotkey11 cannot be added");
        }
        return Win32HotkeyPlatform::addAtom(name);
    }

    std::optional<std::uint32_t> postKeyDown(WindowHandle window, std::uint8_t key) override {
        const bool elevated = windowTitle(window).starts_with("Elevated");
        const std::optional<std::uint32_t> refusal = Win32HotkeyPlatform::postKeyDown(window, key);
        return refusal || !elevated ? refusal : kErrorAccessDenied;
    }
};

} // namespace

HotkeyPlatform& systemHotkeyPlatform() {
    static FaultyHotkeyPlatform platform;
    return platform;
}

} // namespace hk
