#pragma once

#include "base/ErrorReporter.h"
#include "base/WindowHandle.h"

#include <exception>
#include <span>
#include <vector>

namespace hk {

// Where the keyboard was when an error came up.
struct KeyboardPlace {
    WindowHandle foreground = 0; // the window in front, the program's own or another program's
    bool foregroundIsOwn = false;
    WindowHandle active = 0; // the program's active window and focus, while it has them
    WindowHandle focus = 0;
};

// The program's windows that the error box disables while it is up: every visible, enabled
// top-level window of the program except the box's owner.
class WindowsToDisable {
public:
    explicit WindowsToDisable(WindowHandle boxOwner) : boxOwner(boxOwner) {}

    // Takes one window as the platform lists it; false once memory has run out, which ends the
    // listing with the windows kept so far.
    bool add(WindowHandle window, bool visible, bool enabled) noexcept;
    std::span<const WindowHandle> windows() const { return kept; }

private:
    WindowHandle boxOwner;
    std::vector<WindowHandle> kept;
};

// What the error box needs of the platform. None of it may throw: the box is shown from the
// platform's own frames.
class ErrorBoxPlatform {
public:
    virtual ~ErrorBoxPlatform() = default;
    virtual void cancelMouseCapture() noexcept = 0;
    virtual KeyboardPlace keyboardPlace() noexcept = 0;
    virtual WindowHandle boxOwner() noexcept = 0;
    virtual void listTopLevelWindows(WindowsToDisable& windows) noexcept = 0;
    virtual void enableWindow(WindowHandle window, bool enabled) noexcept = 0;
    // Shows the modal box over its owner, near `active`, and returns once it is dismissed.
    virtual void showBox(const char* text, WindowHandle active) noexcept = 0;
    virtual void bringToFront(WindowHandle window) noexcept = 0;
    virtual void setFocus(WindowHandle window) noexcept = 0;
};

// Shows an error that escaped the handling of one message; the program then goes on, with the
// keyboard where it was before the error.
class ErrorBox : public ErrorReporter {
public:
    explicit ErrorBox(ErrorBoxPlatform& platform) : platform(platform) {}
    void report(const std::exception& error) noexcept override;

private:
    void giveKeyboardBack(const KeyboardPlace& before) noexcept;

    ErrorBoxPlatform& platform;
};

} // namespace hk
