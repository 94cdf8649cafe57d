#include "app/ErrorBox_win.h"

#include "app/ApplicationWindow_win.h"
#include "app/ErrorText.h"
#include "base/Error.h"
#include "base/FileName.h"
#include "platform/AnsiText_win.h"
#include "platform/ModuleFileName_win.h"
#include "platform/WindowHandle_win.h"

#include <string>
#include <typeinfo>
#include <windows.h>

namespace hk {

namespace {

// The box opens over its owner, the zero-sized application window; when the user works on
// another monitor, that window visits the centre of the active window's monitor meanwhile.
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

std::string typeNameOf(const std::exception& error) {
    if (const auto* own = dynamic_cast<const Error*>(&error)) {
        return own->typeName();
    }
    return readableTypeName(typeid(error).name());
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

} // namespace

void Win32ErrorBoxPlatform::cancelMouseCapture() noexcept {
    if (HWND capture = ::GetCapture()) {
        ::SendMessageA(capture, WM_CANCELMODE, 0, 0);
    }
}

KeyboardPlace Win32ErrorBoxPlatform::keyboardPlace() noexcept {
    const HWND foreground = ::GetForegroundWindow();
    return {handleOf(foreground),
            foreground != nullptr &&
                ::GetWindowThreadProcessId(foreground, nullptr) == ::GetCurrentThreadId(),
            handleOf(::GetActiveWindow()), handleOf(::GetFocus())};
}

WindowHandle Win32ErrorBoxPlatform::boxOwner() noexcept {
    return handleOf(application.handle());
}

void Win32ErrorBoxPlatform::listTopLevelWindows(WindowsToDisable& windows) noexcept {
    ::EnumThreadWindows(::GetCurrentThreadId(), &listWindow, reinterpret_cast<LPARAM>(&windows));
}

void Win32ErrorBoxPlatform::enableWindow(WindowHandle window, bool enabled) noexcept {
    ::EnableWindow(toHwnd(window), enabled ? TRUE : FALSE);
}

void Win32ErrorBoxPlatform::showBox(const char* text, WindowHandle active) noexcept {
    const OwnerOnActiveMonitor placement(application.handle(), toHwnd(active));
    ::MessageBoxA(application.handle(), text, application.title().c_str(), MB_OK | MB_ICONSTOP);
}

void Win32ErrorBoxPlatform::bringToFront(WindowHandle window) noexcept {
    ::SetForegroundWindow(toHwnd(window));
}

void Win32ErrorBoxPlatform::setFocus(WindowHandle window) noexcept {
    ::SetFocus(toHwnd(window));
}

void showFatalError(const std::exception& error) {
    const auto* own = dynamic_cast<const Error*>(&error);
    const void* address = own != nullptr ? own->address() : nullptr;
    const HMODULE module = moduleAt(address);
    const std::uintptr_t offset =
        address != nullptr ? static_cast<const char*>(address) - reinterpret_cast<char*>(module)
                           : 0;
    const std::string text =
        fatalErrorText(typeNameOf(error), moduleBaseName(module), offset, error.what());
    ::MessageBoxA(nullptr, text.c_str(), "Application Error", MB_OK | MB_TASKMODAL | MB_ICONERROR);
}

} // namespace hk
