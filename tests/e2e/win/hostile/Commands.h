#pragma once

#include <cstdint>
#include <span>
#include <windows.h>

// Every command takes its arguments (after the command name), prints machine-readable lines to
// stdout and returns the process exit code: 0 done, 1 the thing asked for failed, or kBadUsage.
using Args = std::span<char* const>;
constexpr int kBadUsage = -1;

std::uint64_t parseNumber(const char* text);
HWND parseWindow(const char* text);

int sendCreation(Args args);
int setWindowData(Args args);
int postStorm(Args args);
int countGdiObjects(Args args);
int rebindSlots(Args args);
