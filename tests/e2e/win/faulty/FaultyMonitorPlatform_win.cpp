// HotKeysFaulty's monitor platform, linked in place of app/SystemMonitorPlatform_win.cpp: the
// program's own, except that it sees the one monitor Xvfb gives as two side by side, split at
// five eighths of its width, so that the tests can watch a box open on the monitor where the user
// works. The zero-sized application window, at the centre of the screen, stands on the left one.
#include "app/MonitorPlatform_win.h"
#include "app/SystemMonitorPlatform_win.h"

namespace hk {

namespace {

class SplitScreenMonitorPlatform : public Win32MonitorPlatform {
public:
    MonitorId monitorOf(WindowHandle window) noexcept override {
        screen = Win32MonitorPlatform::monitorOf(window);
        const std::optional<PixelRect> whole = Win32MonitorPlatform::monitorArea(screen);
        const std::optional<PixelRect> area = windowArea(window);
        if (!whole || !area) {
            return kLeft;
        }
        return (area->left + area->right) / 2 < split(*whole) ? kLeft : kRight;
    }

    std::optional<PixelRect> monitorArea(MonitorId monitor) noexcept override {
        std::optional<PixelRect> half = Win32MonitorPlatform::monitorArea(screen);
        if (half) {
            (monitor == kLeft ? half->right : half->left) = split(*half);
        }
        return half;
    }

private:
    static constexpr MonitorId kLeft = 1;
    static constexpr MonitorId kRight = 2;

    static int split(const PixelRect& whole) { return whole.left + whole.width() * 5 / 8; }

    MonitorId screen = 0; // the real monitor, the one Xvfb gives
};

} // namespace

MonitorPlatform& systemMonitorPlatform() {
    static SplitScreenMonitorPlatform platform;
    return platform;
}

} // namespace hk
