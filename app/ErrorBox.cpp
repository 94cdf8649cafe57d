#include "app/ErrorBox.h"

#include "app/ErrorText.h"
#include "app/MonitorVisit.h"

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

// A box that stands, from its report until it is dismissed. Reports nest on the stack: a second
// error comes from the message loop of the box in front, so the box in front is always the last.
struct ErrorBox::Standing {
    Standing* behind;       // the box this one stands in front of; none for the first
    WindowHandle owner;     // what owns this box
    KeyboardPlace returnTo; // where the keyboard goes once the last box goes
    bool handBack;          // false for a box that came before start-up showed the program
};

namespace {

// Where the user worked in another program's window, not in one of the program's boxes.
bool outsideTheProgram(const KeyboardPlace& place) {
    return !place.foregroundIsOwn && place.foreground.window != 0;
}

} // namespace

void ErrorBox::report(const std::exception& error) noexcept {
    platform.cancelMouseCapture();
    const KeyboardPlace before = platform.keyboardPlace();

    std::string built;
    const char* text =
        builtOrOwnMessage(built, error, [&] { return errorBoxText(error.what(), sentenceEnds); });

    // A box that comes while another stands is owned by the box in front, as MessageBox asks of a
    // box raised while a dialog box is present. That box is left enabled (WindowsToDisable passes
    // over the owner), so the new box, which disables its owner itself, enables it again as it
    // goes, and the box behind takes the activation back. Only a box that stands alone opens on
    // the monitor where the user works; one in front of another opens over it.
    RecordedWindow boxBehind;
    WindowHandle owner = loneBoxOwner;
    if (inFront != nullptr) {
        boxBehind = platform.boxOwnedBy(inFront->owner);
        owner = boxBehind.window != 0 ? boxBehind.window : inFront->owner;
    }
    Standing standing{inFront, owner, before, shown};
    inFront = &standing;
    showDisablingTheRest(text, owner, standing.behind == nullptr ? before.active : 0);
    inFront = standing.behind;

    // The keyboard goes back only when the last box goes, to the window the user last worked in:
    // when a box came up over a window the user had turned to, that window, not the one under
    // the first box. Until then the box behind is in front again.
    if (standing.behind != nullptr) {
        if (outsideTheProgram(standing.returnTo)) {
            standing.behind->returnTo = standing.returnTo;
        }
        if (stands(boxBehind)) {
            platform.bringToFront(boxBehind.window);
        }
    } else if (standing.handBack) {
        giveKeyboardBack(standing.returnTo);
    }
}

void ErrorBox::showDisablingTheRest(const char* text, WindowHandle owner,
                                    WindowHandle nearWindow) noexcept {
    WindowsToDisable disabled(owner);
    platform.listTopLevelWindows(disabled);
    for (WindowHandle window : disabled.windows()) {
        platform.enableWindow(window, false);
    }
    {
        const MonitorVisit visit(monitors, owner, nearWindow);
        platform.showBox(text, owner);
    }
    for (WindowHandle window : disabled.windows()) {
        platform.enableWindow(window, true);
    }
}

// A window recorded before the box came up may have gone while the box stood, with no bound on
// how long, and its handle may now name another window; a hidden window would take keys that
// nobody sees. The keyboard goes back only to the window recorded, visible, on its thread.
bool ErrorBox::stands(const RecordedWindow& window) noexcept {
    if (window.window == 0) {
        return false;
    }
    const WindowNow now = platform.windowNow(window.window);
    return now.exists && now.visible && now.thread == window.thread;
}

// Once its box has closed, the program's process is in the foreground, so it may hand the
// foreground back: to the program's own window that was active, with its focus, or to the other
// program's window the user was working in (a game, when a hotkey's key was refused). When that
// window no longer stands, the foreground is left where the platform put it.
void ErrorBox::giveKeyboardBack(const KeyboardPlace& place) noexcept {
    const ThreadId thread = place.foreground.thread;
    const RecordedWindow front =
        place.foregroundIsOwn ? RecordedWindow{place.active, thread} : place.foreground;
    if (!stands(front)) {
        return;
    }
    platform.bringToFront(front.window);
    if (place.foregroundIsOwn && stands({place.focus, thread})) {
        platform.setFocus(place.focus);
    }
}

} // namespace hk
