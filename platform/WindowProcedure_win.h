#pragma once

#include "base/ErrorReporter.h"

#include <exception>
#include <windows.h>

namespace hk {

// The window procedure of a class whose object is passed as the creation parameter. The object
// is bound at WM_NCCREATE, the first message that carries it. No C++ exception may unwind through
// the platform's frames, so every error stops here and goes to the object's error reporter.
template <class Window>
LRESULT CALLBACK windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    }
    try {
        return self->handleMessage(hwnd, message, wParam, lParam);
    } catch (const std::exception& error) {
        self->errorReporter().report(error);
        return 0;
    }
}

} // namespace hk
