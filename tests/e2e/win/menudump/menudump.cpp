#include "MenuDump.h"

#include <cstdio>

// Runs as a thread of the program that owns the window, so its menu handle is readable here.
extern "C" __declspec(dllexport) DWORD WINAPI DumpSystemMenu(void* request) {
    auto* dump = static_cast<MenuDump*>(request);
    HMENU menu = GetSystemMenu(dump->window, FALSE);
    int count = menu ? GetMenuItemCount(menu) : -1;
    std::size_t used = 0;
    dump->lines[0] = '\0';
    for (int i = 0; i < count; ++i) {
        char text[128] = "";
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        int written = std::snprintf(dump->lines + used, sizeof dump->lines - used, "0x%x %s\n",
                                    GetMenuItemID(menu, i), text);
        if (written < 0 || used + written >= sizeof dump->lines)
            return DWORD(-1);
        used += written;
    }
    return DWORD(count);
}
