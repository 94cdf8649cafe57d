// Rebinding the widget's slots over and over, between this program's own windows, as fast as
// the widget confirms each binding.
#include "Commands.h"
#include "platform/UniqueHandle_win.h"

#include <cstdio>
#include <vector>

namespace {

constexpr DWORD kPatienceMs = 10000;

bool bringForward(HWND window) {
    const DWORD deadline = GetTickCount() + kPatienceMs;
    while (GetForegroundWindow() != window) {
        if (GetTickCount() > deadline)
            return false;
        SetForegroundWindow(window);
        Sleep(1);
    }
    return true;
}

// Runs this thread's messages until the widget's forwarded F1 reaches `window`.
bool awaitForwardedKey(HWND window) {
    const DWORD deadline = GetTickCount() + kPatienceMs;
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.hwnd == window && message.message == WM_KEYDOWN && message.wParam == VK_F1)
                return true;
            DispatchMessageA(&message);
        }
        const DWORD now = GetTickCount();
        if (now > deadline)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, deadline - now, QS_ALLINPUT);
    }
}

// The windows are this driver's for one command only: they go when it ends.
using UniqueWindow = hk::UniqueHandle<HWND, &::DestroyWindow>;

std::vector<UniqueWindow> openWindows(Args titles) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "HostileTarget";
    RegisterClassA(&windowClass);
    std::vector<UniqueWindow> windows;
    for (char* const title : titles) {
        const int offset = int(windows.size()) * 10;
        windows.emplace_back(CreateWindowExA(0, "HostileTarget", title, WS_POPUP | WS_VISIBLE,
                                             600 + offset, 450 + offset, 120, 40, nullptr, nullptr,
                                             windowClass.hInstance, nullptr));
    }
    return windows;
}

} // namespace

// Each binding is confirmed by the key the widget then forwards to the window.
int rebindSlots(Args args) {
    const std::uint64_t count = parseNumber(args[0]);
    const std::vector<UniqueWindow> windows = openWindows(args.subspan(1));
    for (std::uint64_t index = 0; index < count; ++index) {
        const HWND window = windows[index % windows.size()].get();
        const bool slot1 = index % 2 == 0;
        if (!bringForward(window)) {
            std::printf("rebind %llu: window %p not in front\n", index, static_cast<void*>(window));
            return 1;
        }
        // Alt+N binds the window in front to slot 1 and Alt+M to slot 2; the slot's F1 key, F1 or
        // 1, then reaches it as F1.
        pressKeys(slot1 ? "alt+n" : "alt+m");
        pressKeys(slot1 ? "f1" : "1");
        if (!awaitForwardedKey(window)) {
            std::printf("rebind %llu: no key forwarded to %p\n", index, static_cast<void*>(window));
            return 1;
        }
    }
    std::printf("rebinds=%llu\n", count);
    return 0;
}
