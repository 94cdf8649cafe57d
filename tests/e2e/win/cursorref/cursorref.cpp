// cursorref.exe
// Opens two small windows whose class cursors are the platform's standard pointers, so that a
// test can read the X pointer shape each of them shows:
//   "hand"  at screen (20, 600), 100 x 100, cursor IDC_HAND
//   "arrow" at screen (140, 600), 100 x 100, cursor IDC_ARROW
// It ends when either window is closed.
#include <windows.h>

namespace {

LRESULT CALLBACK referenceProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

bool openReference(HINSTANCE instance, const char* name, LPCSTR cursor, int left) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = referenceProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, cursor);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = name;
    if (!windowClass.hCursor || !RegisterClassA(&windowClass))
        return false;
    return CreateWindowExA(0, name, name, WS_POPUP | WS_VISIBLE, left, 600, 100, 100, nullptr,
                           nullptr, instance, nullptr) != nullptr;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (!openReference(instance, "HotKeysHandReference", IDC_HAND, 20) ||
        !openReference(instance, "HotKeysArrowReference", IDC_ARROW, 140))
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
