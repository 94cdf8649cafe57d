#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <windows.h>

// Every command takes its arguments (after the command name), prints machine-readable lines to
// stdout and returns the process exit code: 0 done, 1 the thing asked about failed, or kBadUsage.
using Args = std::span<char* const>;
constexpr int kBadUsage = -1;

std::uint64_t parseNumber(const char* text);
HWND parseWindow(const char* text);
std::string hex(std::uint64_t value);

int findWindows(Args args);
int windowInfo(Args args);
int editText(Args args);
int foreground(Args args);
int postMessage(Args args);
int sendMessage(Args args);
int tryHotkeys(Args args);
int findAtoms(Args args);
int sendKeys(Args args);
int startProcess(Args args);
int killProcess(Args args);
int systemMenu(Args args);
