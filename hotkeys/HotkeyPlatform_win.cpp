#include "hotkeys/HotkeyPlatform_win.h"

#include "platform/SystemErrorText_win.h"
#include "platform/WindowHandle_win.h"

#include <windows.h>

namespace hk {

std::uint16_t Win32HotkeyPlatform::addAtom(const char* name) {
    return ::GlobalAddAtomA(name);
}

void Win32HotkeyPlatform::registerHotkey(WindowHandle window, std::uint32_t id, unsigned modifiers,
                                         std::uint8_t key) {
    ::RegisterHotKey(toHwnd(window), static_cast<int>(id), modifiers, key);
}

WindowHandle Win32HotkeyPlatform::foregroundWindow() {
    return handleOf(::GetForegroundWindow());
}

void Win32HotkeyPlatform::readWindowTitle(WindowHandle window, TitleBuffer& title) {
    ::GetWindowTextA(toHwnd(window), title.data(), static_cast<int>(title.size()));
}

// With a null window the key lands in our own queue as a message for no window, and is ignored.
std::optional<std::uint32_t> Win32HotkeyPlatform::postKeyDown(WindowHandle window,
                                                              std::uint8_t key) {
    if (::PostMessageA(toHwnd(window), WM_KEYDOWN, key, 0)) {
        return std::nullopt;
    }
    return ::GetLastError();
}

std::string Win32HotkeyPlatform::windowTitle(WindowHandle window) {
    std::string title(static_cast<std::size_t>(::GetWindowTextLengthA(toHwnd(window))) + 1, '\0');
    title.resize(static_cast<std::size_t>(
        ::GetWindowTextA(toHwnd(window), title.data(), static_cast<int>(title.size()))));
    return title;
}

std::string Win32HotkeyPlatform::errorText(std::uint32_t code) {
    return systemErrorMessage(code, SystemErrorWording::TextOnly);
}

} // namespace hk
