// probe.exe LOGFILE TITLE...
// Opens one top-level window per title (an empty argument gives an untitled window) and appends
// one line per event to LOGFILE, flushed at once so a test can read it while the probe runs:
//   open HWND                      a window was created, in the order of the titles
//   msg HWND MSG WPARAM LPARAM     a keyboard message, WM_HOTKEY, WM_SETFOCUS or WM_KILLFOCUS
// Numbers are hexadecimal. The probe ends when its last window is closed.
#include <cstdio>
#include <memory>
#include <windows.h>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

UniqueFile logFile;
int openWindows = 0;

void logLine(const char* format, auto... values) {
    std::fprintf(logFile.get(), format, values...);
    std::fflush(logFile.get());
}

bool isLogged(UINT msg) {
    return (msg >= WM_KEYFIRST && msg <= WM_SYSDEADCHAR) || msg == WM_HOTKEY ||
           msg == WM_SETFOCUS || msg == WM_KILLFOCUS;
}

LRESULT CALLBACK probeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (isLogged(msg)) {
        logLine("msg %p %04x %llx %llx\n", static_cast<void*>(hwnd), msg,
                static_cast<unsigned long long>(wParam), static_cast<unsigned long long>(lParam));
        // Default handling of keys would let a lone Alt open the system menu and swallow the
        // next key, so keys stop here.
        if (msg != WM_SETFOCUS && msg != WM_KILLFOCUS)
            return 0;
    }
    if (msg == WM_DESTROY && --openWindows == 0)
        PostQuitMessage(0);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

bool openWindow(HINSTANCE instance, const char* title, int index) {
    HWND hwnd = CreateWindowExA(0, "HotKeysProbe", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 560,
                                20 + 130 * index, 400, 110, nullptr, nullptr, instance, nullptr);
    if (!hwnd)
        return false;
    ++openWindows;
    logLine("open %p\n", static_cast<void*>(hwnd));
    return true;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc < 3)
        return 2;
    logFile.reset(std::fopen(__argv[1], "a"));
    if (!logFile)
        return 3;

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = probeProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "HotKeysProbe";
    if (!RegisterClassA(&windowClass))
        return 4;
    for (int i = 2; i < __argc; ++i)
        if (!openWindow(instance, __argv[i], i - 2))
            return 5;

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
