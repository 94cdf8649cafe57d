#pragma once

#include <array>
#include <cstdint>

namespace hk {

// A window as the core sees it: the platform's handle carried as a number; 0 is no window.
using WindowHandle = std::uintptr_t;

// The buffer a bound window's title is read into: at most 11 bytes and a terminating zero.
using TitleBuffer = std::array<char, 12>;

// The few platform services that hotkey registration and dispatch rely on.
class HotkeyPlatform {
public:
    virtual ~HotkeyPlatform() = default;
    virtual std::uint16_t addAtom(const char* name) = 0;
    virtual void registerHotkey(WindowHandle window, std::uint32_t id, unsigned modifiers,
                                std::uint8_t key) = 0;
    virtual WindowHandle foregroundWindow() = 0;
    virtual void readWindowTitle(WindowHandle window, TitleBuffer& title) = 0;
    virtual void postKeyDown(WindowHandle window, std::uint8_t key) = 0;
};

} // namespace hk
