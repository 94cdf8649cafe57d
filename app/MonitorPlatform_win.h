#pragma once

#include "app/MonitorPlatform.h"

namespace hk {

// The monitors and the windows on them through the platform's own calls.
class Win32MonitorPlatform : public MonitorPlatform {
public:
    MonitorId monitorOf(WindowHandle window) noexcept override;
    std::optional<PixelRect> monitorArea(MonitorId monitor) noexcept override;
    std::optional<PixelRect> windowArea(WindowHandle window) noexcept override;
    void moveWindow(WindowHandle window, int left, int top) noexcept override;
};

} // namespace hk
