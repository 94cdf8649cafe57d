#pragma once

#include "app/ErrorBox.h"

#include <string>

namespace hk {

// The error box through the platform's own calls, captioned with the application's title.
class Win32ErrorBoxPlatform : public ErrorBoxPlatform {
public:
    explicit Win32ErrorBoxPlatform(const std::string& title) : title(title) {}

    void cancelMouseCapture() noexcept override;
    KeyboardPlace keyboardPlace() noexcept override;
    RecordedWindow boxOwnedBy(WindowHandle owner) noexcept override;
    void listTopLevelWindows(WindowsToDisable& windows) noexcept override;
    void enableWindow(WindowHandle window, bool enabled) noexcept override;
    void showBox(const char* text, WindowHandle owner) noexcept override;
    WindowNow windowNow(WindowHandle window) noexcept override;
    void bringToFront(WindowHandle window) noexcept override;
    void setFocus(WindowHandle window) noexcept override;

private:
    const std::string& title; // the application window's, which outlives the box
};

// How the system's 8-bit text ends a sentence, as the error box reads it.
SentenceEnds systemSentenceEnds();

} // namespace hk
