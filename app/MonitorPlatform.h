#pragma once

#include "base/PixelRect.h"
#include "base/WindowHandle.h"

#include <cstdint>
#include <optional>

namespace hk {

// A display monitor as the platform numbers it; 0 is none.
using MonitorId = std::uintptr_t;

// Where windows lie among the monitors, for an error box to open where the user works. None of
// it may throw: the box is shown from the platform's own frames.
class MonitorPlatform {
public:
    virtual ~MonitorPlatform() = default;
    // The monitor that holds most of the window, or the one nearest to it.
    virtual MonitorId monitorOf(WindowHandle window) noexcept = 0;
    // The whole area of the monitor on the desktop; nothing when the platform cannot say.
    virtual std::optional<PixelRect> monitorArea(MonitorId monitor) noexcept = 0;
    // Where the window lies on the desktop; nothing when the platform cannot say.
    virtual std::optional<PixelRect> windowArea(WindowHandle window) noexcept = 0;
    // Puts the window's top-left corner at (left, top), leaving its size, its place among the
    // windows and the activation as they are.
    virtual void moveWindow(WindowHandle window, int left, int top) noexcept = 0;
};

} // namespace hk
