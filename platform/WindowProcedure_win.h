#pragma once

#include "base/ErrorReporter.h"
#include "platform/SystemErrorText_win.h"
#include "platform/UniqueHandle_win.h"

#include <exception>
#include <windows.h>

namespace hk {

// The object that the program's one window of class `Window` on this thread belongs to. It is
// kept in the program's own memory: any process on the desktop can send or post a window its
// creation and destruction messages, with any pointer inside, or overwrite its user data.
template <class Window> struct WindowBinding {
    Window* beingCreated = nullptr;
    bool beingDestroyed = false;
    HWND window = nullptr;
    Window* object = nullptr;
};

template <class Window> WindowBinding<Window>& windowBinding() {
    thread_local WindowBinding<Window> binding;
    return binding;
}

// Marks the program's own CreateWindowEx of the window of `object`: only inside it does a
// creation message bind the window, and only the first one.
template <class Window> class OwnWindowCreation {
public:
    explicit OwnWindowCreation(Window& object) { windowBinding<Window>().beingCreated = &object; }
    ~OwnWindowCreation() { windowBinding<Window>().beingCreated = nullptr; }
    OwnWindowCreation(const OwnWindowCreation&) = delete;
    OwnWindowCreation& operator=(const OwnWindowCreation&) = delete;
};

// The program's own DestroyWindow of its window of class `Window`: only inside it do the
// destruction messages reach the object, and WM_NCDESTROY unbinds it.
template <class Window> void destroyOwnWindow(HWND window) {
    WindowBinding<Window>& binding = windowBinding<Window>();
    binding.beingDestroyed = true;
    ::DestroyWindow(window);
    binding.beingDestroyed = false;
}

// The window of an object of class `Window`, created under OwnWindowCreation.
template <class Window> using OwnWindow = UniqueHandle<HWND, &destroyOwnWindow<Window>>;

// Creates the window of `object` with `create`, a call of CreateWindowEx, and raises the system's
// error when it fails. The error is read before the creation mark goes: reaching thread-local
// storage may call TlsGetValue, which clears the thread's last error.
template <class Window, class Create>
OwnWindow<Window> createOwnWindow(Window& object, Create create) {
    OwnWindow<Window> window;
    DWORD error = ERROR_SUCCESS;
    {
        const OwnWindowCreation creating(object);
        window.reset(create());
        error = ::GetLastError();
    }
    if (!window) {
        raiseSystemError(error, SystemErrorWording::CodeAndText);
    }
    return window;
}

// A window is created once and destroyed once, each time by the program itself (a creation that
// fails destroys the window inside CreateWindowEx); these messages at any other time came from
// elsewhere and must change nothing.
template <class Window>
bool isForeignLifeMessage(const WindowBinding<Window>& binding, UINT message) {
    switch (message) {
    case WM_NCCREATE:
    case WM_CREATE:
        return binding.beingCreated == nullptr;
    case WM_DESTROY:
    case WM_NCDESTROY:
        return !binding.beingDestroyed && binding.beingCreated == nullptr;
    default:
        return false;
    }
}

// The window procedure of a class whose windows are OwnWindows. No C++ exception may unwind
// through the platform's frames, so every error stops here and goes to the object's error
// reporter.
template <class Window>
LRESULT CALLBACK windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowBinding<Window>& binding = windowBinding<Window>();
    if (isForeignLifeMessage(binding, message)) {
        return 0;
    }
    if (message == WM_NCCREATE && binding.window == nullptr) {
        binding.window = hwnd;
        binding.object = binding.beingCreated;
    }
    Window* const self = hwnd == binding.window ? binding.object : nullptr;
    if (self == nullptr) {
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        binding.window = nullptr;
        binding.object = nullptr;
    }
    try {
        return self->handleMessage(hwnd, message, wParam, lParam);
    } catch (const std::exception& error) {
        self->errorReporter().report(error);
        return 0;
    }
}

// Registers the class whose windows run Window's handleMessage, with the arrow cursor. False when
// the platform refuses; each caller words that failure for its own users.
template <class Window>
[[nodiscard]] bool registerWindowClass(HINSTANCE instance, const char* className, UINT style,
                                       HICON icon) {
    WNDCLASSA windowClass{};
    windowClass.style = style;
    windowClass.lpfnWndProc = windowProcedure<Window>;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = className;
    return ::RegisterClassA(&windowClass) != 0;
}

} // namespace hk
