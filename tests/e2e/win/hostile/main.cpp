// hostile.exe COMMAND ARGS...: what another program on the desktop can do to the widget.
#include "Commands.h"

namespace {

const Command kCommands[] = {
    {"create", sendCreation,
     "create TITLE HWND:MSG:none|null|garbage|image...   forged WM_NCCREATE/WM_CREATE"},
    {"setdata", setWindowData, "setdata HWND INDEX VALUE   SetWindowLongPtrA from outside"},
    {"storm", postStorm, "storm SEED FIRST COUNT LOG HWND...   random posted messages, replayable"},
    {"gdi", countGdiObjects, "gdi PID   GDI objects in the process's handle table"},
    {"rebind", rebindSlots, "rebind COUNT TITLE...   bind own windows to both slots in turn"},
};

} // namespace

int main(int argc, char** argv) {
    return runCommand("hostile", kCommands, argc, argv);
}
