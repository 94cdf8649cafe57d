// The program's own hotkey platform, with two of its calls routed through stand-ins: adding the
// atom "Hotkey11" fails, as with a full atom table, and a key posted to a window whose title
// starts with "Elevated" is reported refused with ERROR_ACCESS_DENIED, as Windows refuses a
// window of a program running with higher rights. The key is posted all the same, so that the
// tests see every key the program goes on sending. <windows.h> comes first so that the platform
// file's own include of it keeps the real declarations.
#include "base/Error.h"

#include <cstring>
#include <windows.h>

namespace hk::faulty {

ATOM addAtom(LPCSTR name) {
    if (std::strcmp(name, "Hotkey11") == 0) {
        raise<SystemError>("The atom Hotkey11 cannot be added");
    }
    return ::GlobalAddAtomA(name);
}

BOOL postMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    constexpr char kElevated[] = "Elevated";
    char title[sizeof kElevated] = "";
    ::GetWindowTextA(window, title, sizeof title);
    const BOOL posted = ::PostMessageA(window, message, wParam, lParam);
    if (posted && std::strcmp(title, kElevated) == 0) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return posted;
}

} // namespace hk::faulty

#define GlobalAddAtomA hk::faulty::addAtom
#define PostMessageA hk::faulty::postMessage
#include "hotkeys/HotkeyPlatform_win.cpp"
