#include "app/ErrorBox_win.h"

#include "platform/AnsiText_win.h"
#include "platform/WindowHandle_win.h"

#include <cstring>
#include <windows.h>

namespace hk {

namespace {

// Every top-level window of the program lives on its one thread.
BOOL CALLBACK listWindow(HWND window, LPARAM list) {
    return reinterpret_cast<WindowsToDisable*>(list)->add(
        handleOf(window), ::IsWindowVisible(window) != FALSE, ::IsWindowEnabled(window) != FALSE);
}

// A message box is a dialog box, of the system's class "#32770"; the program shows no dialog of
// its own.
struct OwnedBox {
    HWND owner;
    HWND box;
};

BOOL CALLBACK findOwnedBox(HWND window, LPARAM search) {
    auto& found = *reinterpret_cast<OwnedBox*>(search);
    char className[8] = "";
    if (::GetWindow(window, GW_OWNER) != found.owner ||
        ::GetClassNameA(window, className, sizeof className) == 0 ||
        std::strcmp(className, "#32770") != 0) {
        return TRUE;
    }
    found.box = window;
    return FALSE;
}

} // namespace

void Win32ErrorBoxPlatform::cancelMouseCapture() noexcept {
    if (HWND capture = ::GetCapture()) {
        ::SendMessageA(capture, WM_CANCELMODE, 0, 0);
    }
}

KeyboardPlace Win32ErrorBoxPlatform::keyboardPlace() noexcept {
    const HWND foreground = ::GetForegroundWindow();
    const DWORD thread =
        foreground != nullptr ? ::GetWindowThreadProcessId(foreground, nullptr) : 0;
    return {{handleOf(foreground), thread},
            thread != 0 && thread == ::GetCurrentThreadId(),
            handleOf(::GetActiveWindow()),
            handleOf(::GetFocus())};
}

RecordedWindow Win32ErrorBoxPlatform::boxOwnedBy(WindowHandle owner) noexcept {
    OwnedBox search{toHwnd(owner), nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), &findOwnedBox, reinterpret_cast<LPARAM>(&search));
    if (search.box == nullptr) {
        return {};
    }
    return {handleOf(search.box), ::GetCurrentThreadId()};
}

void Win32ErrorBoxPlatform::listTopLevelWindows(WindowsToDisable& windows) noexcept {
    ::EnumThreadWindows(::GetCurrentThreadId(), &listWindow, reinterpret_cast<LPARAM>(&windows));
}

void Win32ErrorBoxPlatform::enableWindow(WindowHandle window, bool enabled) noexcept {
    ::EnableWindow(toHwnd(window), enabled ? TRUE : FALSE);
}

void Win32ErrorBoxPlatform::showBox(const char* text, WindowHandle owner) noexcept {
    ::MessageBoxA(toHwnd(owner), text, title.c_str(), MB_OK | MB_ICONSTOP);
}

// A window that is gone has no thread: GetWindowThreadProcessId returns 0 for it.
WindowNow Win32ErrorBoxPlatform::windowNow(WindowHandle window) noexcept {
    const HWND handle = toHwnd(window);
    return {::IsWindow(handle) != FALSE, ::IsWindowVisible(handle) != FALSE,
            ::GetWindowThreadProcessId(handle, nullptr)};
}

void Win32ErrorBoxPlatform::bringToFront(WindowHandle window) noexcept {
    ::SetForegroundWindow(toHwnd(window));
}

void Win32ErrorBoxPlatform::setFocus(WindowHandle window) noexcept {
    ::SetFocus(toHwnd(window));
}

SentenceEnds systemSentenceEnds() {
    return {systemCharacterLength, systemCharacters(kWideSentenceEnds)};
}

} // namespace hk
