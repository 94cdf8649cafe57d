#include "app/ErrorBox_win.h"

#include "app/ApplicationWindow_win.h"
#include "base/FileName.h"
#include "platform/AnsiText_win.h"
#include "platform/ModuleFileName_win.h"
#include "platform/WindowHandle_win.h"

#include <cstring>
#include <string>
#include <windows.h>

namespace hk {

namespace {

// A box that stands alone opens over its owner, the zero-sized application window; when the user
// works on another monitor, that window visits the centre of the active window's monitor
// meanwhile.
class OwnerOnActiveMonitor {
public:
    OwnerOnActiveMonitor(HWND owner, HWND active) : owner(owner) {
        if (owner == nullptr || active == nullptr) {
            return;
        }
        const HMONITOR monitor = ::MonitorFromWindow(active, MONITOR_DEFAULTTONEAREST);
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (monitor == ::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST) ||
            !::GetMonitorInfoA(monitor, &info) || !::GetWindowRect(owner, &original)) {
            return;
        }
        moved = true;
        const RECT& area = info.rcMonitor;
        ::SetWindowPos(owner, nullptr, (area.left + area.right) / 2, (area.top + area.bottom) / 2,
                       0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    OwnerOnActiveMonitor(const OwnerOnActiveMonitor&) = delete;
    OwnerOnActiveMonitor& operator=(const OwnerOnActiveMonitor&) = delete;
    ~OwnerOnActiveMonitor() {
        if (moved) {
            ::SetWindowPos(owner, nullptr, original.left, original.top, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

private:
    HWND owner;
    RECT original{};
    bool moved = false;
};

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

void Win32ErrorBoxPlatform::showBox(const char* text, WindowHandle owner,
                                    WindowHandle nearWindow) noexcept {
    const OwnerOnActiveMonitor placement(toHwnd(owner), toHwnd(nearWindow));
    ::MessageBoxA(toHwnd(owner), text, application.title().c_str(), MB_OK | MB_ICONSTOP);
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
