#pragma once

#include "base/WindowHandle.h"

#include <windows.h>

namespace hk {

inline HWND toHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}

inline WindowHandle handleOf(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

} // namespace hk
