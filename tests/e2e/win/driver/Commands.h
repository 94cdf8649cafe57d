#pragma once

// The driver's commands. Each takes its arguments (after the command name), as many as its row
// of the command table allows, prints machine-readable lines to stdout and returns 0 when done,
// 1 when the thing asked for failed, or kBadUsage.
#include "platform/UniqueHandle_win.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <windows.h>

using Args = std::span<char* const>;
constexpr int kBadUsage = -1;

// A process or thread handle from OpenProcess, CreateProcess, CreateThread or CreateRemoteThread,
// closed with CloseHandle: the program's own owner, for a kind of handle only the driver holds.
using UniqueKernelHandle = hk::UniqueHandle<HANDLE, &::CloseHandle>;

inline std::uint64_t parseNumber(const char* text) {
    return std::strtoull(text, nullptr, 0);
}

inline HWND parseWindow(const char* text) {
    return reinterpret_cast<HWND>(parseNumber(text));
}

inline std::string hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
    return text;
}

inline std::string hex(const void* handle) {
    return hex(reinterpret_cast<std::uintptr_t>(handle));
}

// Arguments arrive in UTF-8, so that a path reaches the system whatever the code page.
std::wstring wide(const char* text);
UniqueKernelHandle openProcess(DWORD access, const char* processId);
std::string className(HWND window);
std::string windowText(HWND window);
void printRect(const char* name, const RECT& rect);

// The command "NAME HWND" that prints what `printChild` finds in each child of the window.
inline int printChildren(Args args, WNDENUMPROC printChild) {
    const HWND window = parseWindow(args[0]);
    if (!IsWindow(window))
        return 1;
    EnumChildWindows(window, printChild, 0);
    return 0;
}

// Windows and messages.
int findWindows(Args args);
int windowInfo(Args args);
int editText(Args args);
int foreground(Args args);
int postMessage(Args args);
int sendMessage(Args args);
int systemMenu(Args args);
int windowProperty(Args args);
// The keyboard, the mouse and the screen.
int tryHotkeys(Args args);
int findAtoms(Args args);
int sendKeys(Args args);
int sendMouse(Args args);
int readScreen(Args args);
int readCursor(Args args);
// Processes.
int startProcess(Args args);
int waitProcess(Args args);
int killProcess(Args args);
int suspendProcess(Args args);
int resumeProcess(Args args);
int processMemory(Args args);
int countGdiObjects(Args args);
// The machine's settings, colours and texts.
int systemFacts(Args args);
int systemColour(Args args);
int errorText(Args args);
// What the platform draws and shows: labels, dialogs, message boxes.
int measureText(Args args);
int drawText(Args args);
int dialogTexts(Args args);
int boxFacts(Args args);
int clickButton(Args args);
int showBox(Args args);
// What a hostile neighbour does.
int sendCreation(Args args);
int setWindowData(Args args);
int postStorm(Args args);
int rebindSlots(Args args);

// A chord such as "alt+n" or "f1" pressed through SendInput as a keyboard does: the modifiers
// held across the key.
bool pressKeys(const std::string& chord);
// The pointer moved to a pixel of the screen, and a button (1 left, 2 middle, 3 right) pressed
// or released, through SendInput as a mouse does.
bool movePointer(int x, int y);
bool pressButton(int button, bool down);
