#pragma once

#include "app/ErrorBox.h"

#include <exception>

namespace hk {

class ApplicationWindow;

// The error box through the platform's own calls, owned by the application window.
class Win32ErrorBoxPlatform : public ErrorBoxPlatform {
public:
    explicit Win32ErrorBoxPlatform(const ApplicationWindow& application)
        : application(application) {}

    void cancelMouseCapture() noexcept override;
    KeyboardPlace keyboardPlace() noexcept override;
    WindowHandle boxOwner() noexcept override;
    void listTopLevelWindows(WindowsToDisable& windows) noexcept override;
    void enableWindow(WindowHandle window, bool enabled) noexcept override;
    void showBox(const char* text, WindowHandle active) noexcept override;
    void bringToFront(WindowHandle window) noexcept override;
    void setFocus(WindowHandle window) noexcept override;

private:
    const ApplicationWindow& application;
};

// Shows an error that ended start-up, in a box of its own with no owner.
void showFatalError(const std::exception& error);

} // namespace hk
