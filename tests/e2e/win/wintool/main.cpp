// wintool.exe COMMAND ARGS...: see usage() for the commands.
#include "Commands.h"

#include <cstdio>

namespace {

const Command kCommands[] = {
    {"find", findWindows, "find CLASS|* TITLE|* [PID]   top-level windows, one hwnd a line"},
    {"info", windowInfo, "info HWND                    key=value facts of a window"},
    {"edittext", editText, "edittext HWND                text of the window's Edit child"},
    {"foreground", foreground, "foreground [HWND]            bring HWND forward; print focus"},
    {"post", postMessage, "post HWND MSG WPARAM LPARAM  PostMessageA, prints ok|fail"},
    {"send", sendMessage, "send HWND MSG WPARAM LPARAM  SendMessageA, prints the result"},
    {"hotkey", tryHotkeys, "hotkey MOD:VK...             RegisterHotKey each, prints ok|fail"},
    {"atoms", findAtoms, "atoms NAME...                GlobalFindAtomA each, prints the atom"},
    {"keys", sendKeys, "keys CHORD...                SendInput, e.g. alt+n f5 1 shift+f1"},
    {"start", startProcess, "start SHOW|- EXE [ARGS...]   run EXE, print pid=, exit with its code"},
    {"kill", killProcess, "kill PID                     TerminateProcess"},
    {"sysmenu", systemMenu, "sysmenu HWND                 items of the window's system menu"},
    {"system", systemFacts, "system                       code pages, languages, version, dpi"},
};

} // namespace

std::string hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
    return text;
}

int main(int argc, char** argv) {
    return runCommand("wintool", kCommands, argc, argv);
}
