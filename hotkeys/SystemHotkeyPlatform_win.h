#pragma once

#include "hotkeys/HotkeyPlatform.h"

namespace hk {

// The process's hotkey platform: the widget holds it by its interface alone.
HotkeyPlatform& systemHotkeyPlatform();

} // namespace hk
