#pragma once

#include "hotkeys/HotkeyPlatform.h"
#include "hotkeys/HotkeyTable.h"

namespace hk {

HotkeyIds registerHotkeys(HotkeyPlatform& platform, WindowHandle window);

} // namespace hk
