// Rebinding the widget's slots over and over, between this program's own windows, as fast as
// the widget confirms each binding.
#include "Commands.h"

#include <cstdio>
#include <vector>

namespace {

constexpr DWORD kPatienceMs = 10000;

void press(std::vector<INPUT>& inputs, WORD key, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    inputs.push_back(input);
}

// Alt+bindKey binds the window in front; confirmKey then sends it its first key.
void sendBinding(WORD bindKey, WORD confirmKey) {
    std::vector<INPUT> inputs;
    press(inputs, VK_MENU, true);
    press(inputs, bindKey, true);
    press(inputs, bindKey, false);
    press(inputs, VK_MENU, false);
    press(inputs, confirmKey, true);
    press(inputs, confirmKey, false);
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

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
struct OwnWindows {
    std::vector<HWND> windows;
    ~OwnWindows() {
        for (HWND window : windows)
            DestroyWindow(window);
    }
};

void openWindows(Args titles, std::vector<HWND>& windows) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "HostileTarget";
    RegisterClassA(&windowClass);
    int offset = 0;
    for (char* const title : titles) {
        windows.push_back(CreateWindowExA(0, "HostileTarget", title, WS_POPUP | WS_VISIBLE,
                                          600 + offset, 450 + offset, 120, 40, nullptr, nullptr,
                                          windowClass.hInstance, nullptr));
        offset += 10;
    }
}

} // namespace

// rebind COUNT TITLE...: opens one window per title and binds them in turn, slot 1 and slot 2
// alternately, COUNT times; each binding is confirmed by the key it forwards.
int rebindSlots(Args args) {
    if (args.size() < 2)
        return kBadUsage;
    const std::uint64_t count = parseNumber(args[0]);
    OwnWindows own;
    openWindows(args.subspan(1), own.windows);
    const std::vector<HWND>& windows = own.windows;
    for (std::uint64_t index = 0; index < count; ++index) {
        HWND window = windows[index % windows.size()];
        const bool slot1 = index % 2 == 0;
        if (!bringForward(window)) {
            std::printf("rebind %llu: window %p not in front\n",
                        static_cast<unsigned long long>(index), static_cast<void*>(window));
            return 1;
        }
        sendBinding(slot1 ? 'N' : 'M', slot1 ? VK_F1 : '1');
        if (!awaitForwardedKey(window)) {
            std::printf("rebind %llu: no key forwarded to %p\n",
                        static_cast<unsigned long long>(index), static_cast<void*>(window));
            return 1;
        }
    }
    std::printf("rebinds=%llu\n", static_cast<unsigned long long>(count));
    return 0;
}
