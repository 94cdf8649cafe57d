#include "app/MonitorVisit.h"

namespace hk {

// The owner of a box that stands alone is the zero-sized application window, which nobody sees
// move. It stays where it is with no window to be near (a box in front of another, or the user in
// another program), or when the platform cannot say where the monitor or the owner lies.
MonitorVisit::MonitorVisit(MonitorPlatform& monitors, WindowHandle owner,
                           WindowHandle nearWindow) noexcept
    : monitors(monitors), owner(owner) {
    if (nearWindow == 0) {
        return;
    }
    const MonitorId monitor = monitors.monitorOf(nearWindow);
    if (monitor == monitors.monitorOf(owner)) {
        return;
    }
    const std::optional<PixelRect> area = monitors.monitorArea(monitor);
    home = area ? monitors.windowArea(owner) : std::nullopt;
    if (home) {
        monitors.moveWindow(owner, (area->left + area->right) / 2, (area->top + area->bottom) / 2);
    }
}

MonitorVisit::~MonitorVisit() {
    if (home) {
        monitors.moveWindow(owner, home->left, home->top);
    }
}

} // namespace hk
