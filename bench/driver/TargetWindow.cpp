#include "TargetWindow.h"

#include <stdexcept>

namespace bench {

LONGLONG TargetWindow::arrivedAt = 0;

LONGLONG now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

double microseconds(LONGLONG ticks) {
    static const double frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return static_cast<double>(value.QuadPart);
    }();
    return static_cast<double>(ticks) * 1e6 / frequency;
}

TargetWindow::TargetWindow(HINSTANCE instance) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    windowClass.lpszClassName = "KeyBenchTarget";
    RegisterClassA(&windowClass);
    window = CreateWindowExA(0, "KeyBenchTarget", "keybench", WS_POPUP | WS_VISIBLE, 600, 500, 200,
                             100, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        throw std::runtime_error("cannot create the target window");
    }
}

// Keys stop here: default handling would let the Alt of Alt+N open the system menu, whose loop
// would then swallow the forwarded keys.
LRESULT CALLBACK TargetWindow::procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_KEYDOWN && wParam == VK_F5 && lParam == 0) {
        arrivedAt = now();
        return 0;
    }
    if (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) {
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LONGLONG TargetWindow::waitArrival(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    MSG msg;
    while (arrivedAt == 0) {
        const DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs) {
            return 0;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - waited, QS_ALLINPUT);
        while (arrivedAt == 0 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
    }
    return arrivedAt;
}

void TargetWindow::drain() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&msg);
    }
}

} // namespace bench
