#include "app/ErrorBox.h"

#include "app/ErrorText.h"

#include <new>
#include <string>

namespace hk {

// The box disables its owner itself and enables it again before it goes away, so that the owner
// takes the activation back. Were the owner disabled here, the box would leave it disabled (it
// enables only an owner it disabled), no window of the program could take the activation, and
// the platform would hand it to another program's window.
bool WindowsToDisable::add(WindowHandle window, bool visible, bool enabled) noexcept {
    if (!visible || !enabled || window == boxOwner) {
        return true;
    }
    try {
        kept.push_back(window);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void ErrorBox::report(const std::exception& error) noexcept {
    platform.cancelMouseCapture();
    const KeyboardPlace before = platform.keyboardPlace();

    // Building the text needs memory, which may be what ran out: the error's own message, as it
    // stands, needs none.
    std::string built;
    const char* text = error.what();
    try {
        built = errorBoxText(text);
        text = built.c_str();
    } catch (const std::bad_alloc&) {
    }

    WindowsToDisable disabled(platform.boxOwner());
    platform.listTopLevelWindows(disabled);
    for (WindowHandle window : disabled.windows()) {
        platform.enableWindow(window, false);
    }
    platform.showBox(text, before.active);
    for (WindowHandle window : disabled.windows()) {
        platform.enableWindow(window, true);
    }
    giveKeyboardBack(before);
}

// Once its box has closed, the program's process is in the foreground, so it may hand the
// foreground back: to the program's own window that was active, with its focus, or to the other
// program's window the user was working in (a game, when a hotkey's key was refused).
void ErrorBox::giveKeyboardBack(const KeyboardPlace& before) noexcept {
    const WindowHandle front = before.foregroundIsOwn ? before.active : before.foreground;
    if (front != 0) {
        platform.bringToFront(front);
    }
    if (before.foregroundIsOwn && before.focus != 0) {
        platform.setFocus(before.focus);
    }
}

} // namespace hk
