// HotKeysFaulty's window creation: the program's own, except that a copy named Windowless.exe
// cannot make its application window (titled "Windowless" after the file), as when the desktop
// heap is used up. A hook on the thread that goes on to run WinMain, set while the program's
// static objects are made, refuses that one window with ERROR_NOT_ENOUGH_MEMORY.
#include <cstring>
#include <windows.h>

namespace {

LRESULT CALLBACK refuseWindowlessApplication(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA& window = *reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        if (!IS_INTRESOURCE(window.lpszClass) &&
            std::strcmp(window.lpszClass, "TApplication") == 0 && window.lpszName != nullptr &&
            std::strcmp(window.lpszName, "Windowless") == 0) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

[[maybe_unused]] const HHOOK refusal =
    SetWindowsHookExA(WH_CBT, refuseWindowlessApplication, nullptr, GetCurrentThreadId());

} // namespace
