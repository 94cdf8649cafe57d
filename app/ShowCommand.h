#pragma once

#include "widget/WindowState.h"

namespace hk {

constexpr int kSwShowMaximized = 3;
constexpr int kSwShowMinNoActive = 7;
constexpr int kSwShowDefault = 10;

// The show command the process was started with, from its start-up information.
int startupShowCommand(bool usesShowWindow, int showWindow);

WindowState startupWindowState(int showCommand);

} // namespace hk
