#include "app/SystemMonitorPlatform_win.h"

#include "app/MonitorPlatform_win.h"

namespace hk {

// The one place that names the class behind the interface, in a file of its own so that a build
// of the program can link another platform in its place.
MonitorPlatform& systemMonitorPlatform() {
    static Win32MonitorPlatform platform;
    return platform;
}

} // namespace hk
