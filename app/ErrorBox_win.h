#pragma once

#include "app/ErrorBox.h"

#include <exception>
#include <optional>

namespace hk {

class ApplicationWindow;

// The error box through the platform's own calls: a box that stands alone is owned by the
// application window.
class Win32ErrorBoxPlatform : public ErrorBoxPlatform {
public:
    explicit Win32ErrorBoxPlatform(const ApplicationWindow& application)
        : application(application) {}

    void cancelMouseCapture() noexcept override;
    KeyboardPlace keyboardPlace() noexcept override;
    WindowHandle applicationWindow() noexcept override;
    RecordedWindow boxOwnedBy(WindowHandle owner) noexcept override;
    void listTopLevelWindows(WindowsToDisable& windows) noexcept override;
    void enableWindow(WindowHandle window, bool enabled) noexcept override;
    void showBox(const char* text, WindowHandle owner) noexcept override;
    MonitorId monitorOf(WindowHandle window) noexcept override;
    std::optional<PixelRect> monitorArea(MonitorId monitor) noexcept override;
    std::optional<PixelRect> windowArea(WindowHandle window) noexcept override;
    void moveWindow(WindowHandle window, int left, int top) noexcept override;
    WindowNow windowNow(WindowHandle window) noexcept override;
    void bringToFront(WindowHandle window) noexcept override;
    void setFocus(WindowHandle window) noexcept override;

private:
    const ApplicationWindow& application;
};

// Shows an error that ended start-up, in a box of its own with no owner.
void showFatalError(const std::exception& error) noexcept;

} // namespace hk
