#pragma once

#include "app/ErrorBox_win.h"
#include "platform/WindowProcedure_win.h"

#include <functional>
#include <string>
#include <windows.h>

namespace hk {

// The hidden, zero-sized window that carries the program's taskbar button.
class ApplicationWindow {
public:
    explicit ApplicationWindow(HINSTANCE instance);
    // Neither copied nor moved: its window and its members hold on to this very object.
    ApplicationWindow(const ApplicationWindow&) = delete;
    ApplicationWindow& operator=(const ApplicationWindow&) = delete;

    HWND handle() const { return window.get(); }
    ErrorBox& errorReporter() { return errorBox; }

    void showWithoutActivation();
    void hide();
    void showMinimized();

    // Close from the taskbar button's menu closes the main form instead of this window.
    std::function<void()> onCloseRequest;
    // The user logs off or the system shuts down.
    std::function<void()> onEndSession;
    // Restored from the taskbar button, with the widget shown again.
    std::function<void()> onRestored;

    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT onSysCommand(HWND hwnd, WPARAM wParam, LPARAM lParam);
    void putBackAtHalfScreen();

    std::string applicationTitle;
    Win32ErrorBoxPlatform errorBoxPlatform;
    ErrorBox errorBox;
    OwnWindow<ApplicationWindow> window; // last: destroyed while the members above are still alive
};

} // namespace hk
