#pragma once

#include "app/MonitorPlatform.h"
#include "base/PixelRect.h"
#include "base/WindowHandle.h"

#include <optional>

namespace hk {

// A box opens over its owner. When the user works on another monitor than the owner's, the owner
// visits the centre of that monitor for as long as the visit lasts, then goes back to where it
// stood.
class MonitorVisit {
public:
    MonitorVisit(MonitorPlatform& monitors, WindowHandle owner, WindowHandle nearWindow) noexcept;
    ~MonitorVisit();
    MonitorVisit(const MonitorVisit&) = delete;
    MonitorVisit& operator=(const MonitorVisit&) = delete;

private:
    MonitorPlatform& monitors;
    WindowHandle owner;
    std::optional<PixelRect> home; // where the owner stood, while it is away
};

} // namespace hk
