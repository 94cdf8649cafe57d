#pragma once

#include "app/ErrorText.h"
#include "app/MonitorPlatform.h"
#include "base/ErrorReporter.h"
#include "base/WindowHandle.h"

#include <cstdint>
#include <exception>
#include <span>
#include <utility>
#include <vector>

namespace hk {

// A thread as the platform numbers it; 0 is none.
using ThreadId = std::uint32_t;

// A window recorded with the thread that ran it. Once a window is gone its handle may come to name
// another window, so a recorded window is taken for the same one only while its thread is too.
struct RecordedWindow {
    WindowHandle window = 0;
    ThreadId thread = 0;
};

// What the platform says of a window now.
struct WindowNow {
    bool exists = false;
    bool visible = false;
    ThreadId thread = 0; // 0 when the window is gone
};

// Where the keyboard was when an error came up.
struct KeyboardPlace {
    RecordedWindow foreground; // the window in front, the program's own or another program's
    bool foregroundIsOwn = false;
    WindowHandle active = 0; // the program's active window and focus, while it has them; they run
    WindowHandle focus = 0;  // on the foreground's thread
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
    // The message box of the program's thread that `owner` owns; no window when there is none.
    virtual RecordedWindow boxOwnedBy(WindowHandle owner) noexcept = 0;
    virtual void listTopLevelWindows(WindowsToDisable& windows) noexcept = 0;
    virtual void enableWindow(WindowHandle window, bool enabled) noexcept = 0;
    // Shows the modal box over `owner` and returns once it is dismissed.
    virtual void showBox(const char* text, WindowHandle owner) noexcept = 0;
    virtual WindowNow windowNow(WindowHandle window) noexcept = 0;
    virtual void bringToFront(WindowHandle window) noexcept = 0;
    virtual void setFocus(WindowHandle window) noexcept = 0;
};

// Shows an error that escaped the handling of one message; the program then goes on, with the
// keyboard where it was before the error.
class ErrorBox : public ErrorReporter {
public:
    ErrorBox(ErrorBoxPlatform& platform, MonitorPlatform& monitors, SentenceEnds sentenceEnds)
        : platform(platform), monitors(monitors), sentenceEnds(std::move(sentenceEnds)) {}
    void report(const std::exception& error) noexcept override;

    // A box that stands alone is owned by the application window, once that exists; before, it
    // has no owner.
    void setLoneBoxOwner(WindowHandle applicationWindow) noexcept {
        loneBoxOwner = applicationWindow;
    }

    // Start-up has shown the program: the widget, or its taskbar button when started minimised.
    // The box of an error before then leaves the foreground alone, for the showing to take it.
    void programShown() noexcept { shown = true; }

private:
    struct Standing;

    // Shows the box with every other visible, enabled window of the program disabled meanwhile.
    void showDisablingTheRest(const char* text, WindowHandle owner,
                              WindowHandle nearWindow) noexcept;
    bool stands(const RecordedWindow& window) noexcept;
    void giveKeyboardBack(const KeyboardPlace& place) noexcept;

    ErrorBoxPlatform& platform;
    MonitorPlatform& monitors;
    SentenceEnds sentenceEnds;
    WindowHandle loneBoxOwner = 0;
    bool shown = false;
    Standing* inFront = nullptr; // the box in front, while one stands
};

} // namespace hk
