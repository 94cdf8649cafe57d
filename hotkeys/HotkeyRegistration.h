#pragma once

#include "hotkeys/HotkeyPlatform.h"
#include "hotkeys/HotkeyTable.h"

namespace hk {

// Registers the table's rows on the window in order, each row's identifier written to its place
// in `ids` as soon as the row is registered: should an error escape part-way, the rows before it
// hold their keys and are still told apart.
void registerHotkeys(HotkeyPlatform& platform, WindowHandle window, HotkeyIds& ids);

} // namespace hk
