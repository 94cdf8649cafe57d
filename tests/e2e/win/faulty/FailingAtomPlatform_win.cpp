// The program's own hotkey platform, with its one call of GlobalAddAtomA routed through a stand-in
// that refuses "Hotkey11", as a full atom table would. <windows.h> comes first so that the
// platform file's own include of it keeps the real declaration.
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

} // namespace hk::faulty

#define GlobalAddAtomA hk::faulty::addAtom
#include "hotkeys/HotkeyPlatform_win.cpp"
