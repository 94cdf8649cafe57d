#pragma once

#include "app/MonitorPlatform.h"

namespace hk {

// The process's monitor platform: the error box holds it by its interface alone.
MonitorPlatform& systemMonitorPlatform();

} // namespace hk
