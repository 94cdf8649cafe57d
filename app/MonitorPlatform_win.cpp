#include "app/MonitorPlatform_win.h"

#include "platform/PixelRect_win.h"
#include "platform/WindowHandle_win.h"

#include <windows.h>

namespace hk {

MonitorId Win32MonitorPlatform::monitorOf(WindowHandle window) noexcept {
    return reinterpret_cast<MonitorId>(
        ::MonitorFromWindow(toHwnd(window), MONITOR_DEFAULTTONEAREST));
}

std::optional<PixelRect> Win32MonitorPlatform::monitorArea(MonitorId monitor) noexcept {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoA(reinterpret_cast<HMONITOR>(monitor), &info)) {
        return std::nullopt;
    }
    return pixelRectOf(info.rcMonitor);
}

std::optional<PixelRect> Win32MonitorPlatform::windowArea(WindowHandle window) noexcept {
    RECT area{};
    if (!::GetWindowRect(toHwnd(window), &area)) {
        return std::nullopt;
    }
    return pixelRectOf(area);
}

void Win32MonitorPlatform::moveWindow(WindowHandle window, int left, int top) noexcept {
    ::SetWindowPos(toHwnd(window), nullptr, left, top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace hk
