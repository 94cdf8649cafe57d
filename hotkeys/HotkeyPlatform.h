#pragma once

#include "base/WindowHandle.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace hk {

// The buffer a bound window's title is read into: at most 11 bytes and a terminating zero.
using TitleBuffer = std::array<char, 12>;

// The platform's error codes for a refused post: the target runs at a higher integrity level,
// or the window no longer exists.
constexpr std::uint32_t kErrorAccessDenied = 5;
constexpr std::uint32_t kErrorInvalidWindowHandle = 1400;

// The few platform services that hotkey registration and dispatch rely on.
class HotkeyPlatform {
public:
    virtual ~HotkeyPlatform() = default;
    virtual std::uint16_t addAtom(const char* name) = 0;
    virtual void registerHotkey(WindowHandle window, std::uint32_t id, unsigned modifiers,
                                std::uint8_t key) = 0;
    virtual WindowHandle foregroundWindow() = 0;
    virtual void readWindowTitle(WindowHandle window, TitleBuffer& title) = 0;
    // Nothing when the key-down was queued for the window, else the platform's error code.
    virtual std::optional<std::uint32_t> postKeyDown(WindowHandle window, std::uint8_t key) = 0;
    // A window's whole title in 8-bit text; empty when it has none or cannot be read.
    virtual std::string windowTitle(WindowHandle window) = 0;
    // The platform's own words for an error code.
    virtual std::string errorText(std::uint32_t code) = 0;
};

} // namespace hk
