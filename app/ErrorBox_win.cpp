#include "app/ErrorBox_win.h"

#include "app/ApplicationWindow_win.h"
#include "base/FileName.h"
#include "platform/AnsiText_win.h"
#include "platform/ModuleFileName_win.h"
#include "platform/WindowHandle_win.h"

#include <cstring>
#include <optional>
#include <string>
#include <windows.h>

namespace hk {

namespace {

PixelRect pixelRectOf(const RECT& area) {
    return {area.left, area.top, area.right, area.bottom};
}

// Errors from outside the program carry no address; they are reported at the start of the
// executable.
HMODULE moduleAt(const void* address) {
    HMODULE module = nullptr;
    if (address == nullptr ||
        !::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              static_cast<LPCSTR>(address), &module)) {
        return ::GetModuleHandleA(nullptr);
    }
    return module;
}

std::string moduleBaseName(HMODULE module) {
    return std::string(fileNameOf(moduleFileName(module), isAnsiLeadByte));
}

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

WindowHandle Win32ErrorBoxPlatform::applicationWindow() noexcept {
    return handleOf(application.handle());
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
    ::MessageBoxA(toHwnd(owner), text, application.title().c_str(), MB_OK | MB_ICONSTOP);
}

MonitorId Win32ErrorBoxPlatform::monitorOf(WindowHandle window) noexcept {
    return reinterpret_cast<MonitorId>(
        ::MonitorFromWindow(toHwnd(window), MONITOR_DEFAULTTONEAREST));
}

std::optional<PixelRect> Win32ErrorBoxPlatform::monitorArea(MonitorId monitor) noexcept {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoA(reinterpret_cast<HMONITOR>(monitor), &info)) {
        return std::nullopt;
    }
    return pixelRectOf(info.rcMonitor);
}

std::optional<PixelRect> Win32ErrorBoxPlatform::windowArea(WindowHandle window) noexcept {
    RECT area{};
    if (!::GetWindowRect(toHwnd(window), &area)) {
        return std::nullopt;
    }
    return pixelRectOf(area);
}

void Win32ErrorBoxPlatform::moveWindow(WindowHandle window, int left, int top) noexcept {
    ::SetWindowPos(toHwnd(window), nullptr, left, top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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

namespace {

// The module's name and the box; what the box says is decided in the core (app/ErrorBox.cpp).
class Win32FatalBoxPlatform : public FatalBoxPlatform {
public:
    CodePlace codePlace(const void* address) override {
        const HMODULE module = moduleAt(address);
        std::uintptr_t offset = 0;
        if (address != nullptr) {
            offset = static_cast<const char*>(address) - reinterpret_cast<const char*>(module);
        }
        return {moduleBaseName(module), offset};
    }

    void showFatalBox(const char* text) noexcept override {
        ::MessageBoxA(nullptr, text, "Application Error", MB_OK | MB_TASKMODAL | MB_ICONERROR);
    }
};

} // namespace

void showFatalError(const std::exception& error) noexcept {
    Win32FatalBoxPlatform platform;
    showFatalError(platform, error);
}

} // namespace hk
