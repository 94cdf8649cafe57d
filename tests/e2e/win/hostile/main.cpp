// hostile.exe COMMAND ARGS...: what another program on the desktop can do to the widget.
#include "Commands.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Command {
    const char* name;
    int (*run)(Args);
    const char* usage;
};

const Command kCommands[] = {
    {"create", sendCreation,
     "create TITLE HWND:MSG:none|null|garbage|image...   forged WM_NCCREATE/WM_CREATE"},
    {"setdata", setWindowData, "setdata HWND INDEX VALUE   SetWindowLongPtrA from outside"},
    {"storm", postStorm, "storm SEED FIRST COUNT LOG HWND...   random posted messages, replayable"},
    {"gdi", countGdiObjects, "gdi PID   GDI objects in the process's handle table"},
    {"rebind", rebindSlots, "rebind COUNT TITLE...   bind own windows to both slots in turn"},
};

int usage() {
    for (const Command& command : kCommands)
        std::fprintf(stderr, "hostile %s\n", command.usage);
    return 2;
}

} // namespace

std::uint64_t parseNumber(const char* text) {
    return std::strtoull(text, nullptr, 0);
}

HWND parseWindow(const char* text) {
    return reinterpret_cast<HWND>(parseNumber(text));
}

int main(int argc, char** argv) {
    if (argc < 2)
        return usage();
    for (const Command& command : kCommands)
        if (std::strcmp(argv[1], command.name) == 0) {
            int result = command.run(Args(argv + 2, argv + argc));
            std::fflush(stdout);
            return result == kBadUsage ? usage() : result;
        }
    return usage();
}
