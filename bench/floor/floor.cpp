// floor.exe TARGET LEFT TOP WIDTH HEIGHT
// The least a forwarder can do: hold F5 and post its key-down to TARGET (a window handle in
// decimal) on every press. Its figures are the floor the widget is measured against, so it
// shows a window of the widget's size at the widget's place, both given by the driver, and does
// nothing else.
#include <cstdlib>
#include <windows.h>

namespace {

constexpr int kHotkeyId = 1;
HWND target = nullptr;

LRESULT CALLBACK floorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_HOTKEY) {
        PostMessageA(target, WM_KEYDOWN, VK_F5, 0);
        return 0;
    }
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc != 6) {
        return 2;
    }
    target = reinterpret_cast<HWND>(std::strtoull(__argv[1], nullptr, 10));
    const auto place = [](int index) { return std::atoi(__argv[index]); };

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = floorProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = "HotKeysFloor";
    if (!RegisterClassA(&windowClass)) {
        return 3;
    }
    // Like the widget, the key is held before the window shows.
    HWND window = CreateWindowExA(0, "HotKeysFloor", "", WS_POPUP, place(2), place(3), place(4),
                                  place(5), nullptr, nullptr, instance, nullptr);
    if (!window || !RegisterHotKey(window, kHotkeyId, 0, VK_F5)) {
        return 4;
    }
    ShowWindow(window, SW_SHOWNORMAL);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageA(&msg);
    }
    return 0;
}
