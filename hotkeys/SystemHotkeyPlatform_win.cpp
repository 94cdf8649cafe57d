#include "hotkeys/SystemHotkeyPlatform_win.h"

#include "hotkeys/HotkeyPlatform_win.h"

namespace hk {

// The one place that names the class behind the interface, in a file of its own so that a build
// of the program can link another platform in its place.
HotkeyPlatform& systemHotkeyPlatform() {
    static Win32HotkeyPlatform platform;
    return platform;
}

} // namespace hk
