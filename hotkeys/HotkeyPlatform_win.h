#pragma once

#include "hotkeys/HotkeyPlatform.h"

namespace hk {

// Hotkeys, atoms, the foreground window and posted keys through the platform's own calls.
class Win32HotkeyPlatform : public HotkeyPlatform {
public:
    std::uint16_t addAtom(const char* name) override;
    void registerHotkey(WindowHandle window, std::uint32_t id, unsigned modifiers,
                        std::uint8_t key) override;
    WindowHandle foregroundWindow() override;
    void readWindowTitle(WindowHandle window, TitleBuffer& title) override;
    std::optional<std::uint32_t> postKeyDown(WindowHandle window, std::uint8_t key) override;
    std::string windowTitle(WindowHandle window) override;
    std::string errorText(std::uint32_t code) override;
};

} // namespace hk
