#pragma once

#include <windows.h>

// The request "driver sysmenu" places in the other program's memory: the window to look at in,
// the menu as "ID TEXT" lines out.
struct MenuDump {
    HWND window;
    char lines[4096];
};
