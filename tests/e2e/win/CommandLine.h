#pragma once

// The command line shared by the one-shot test tools: TOOL COMMAND ARGS...
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <windows.h>

// Every command takes its arguments (after the command name), prints machine-readable lines to
// stdout and returns the process exit code: 0 done, 1 the thing asked for failed, or kBadUsage.
using Args = std::span<char* const>;
constexpr int kBadUsage = -1;

struct Command {
    const char* name;
    int (*run)(Args);
    const char* usage;
};

inline std::uint64_t parseNumber(const char* text) {
    return std::strtoull(text, nullptr, 0);
}

inline HWND parseWindow(const char* text) {
    return reinterpret_cast<HWND>(parseNumber(text));
}

// Runs the command argv[1] names; an unknown command or bad usage prints every command's usage.
inline int runCommand(const char* tool, std::span<const Command> commands, int argc, char** argv) {
    for (const Command& command : commands) {
        if (argc >= 2 && std::strcmp(argv[1], command.name) == 0) {
            const int result = command.run(Args(argv + 2, argv + argc));
            std::fflush(stdout);
            if (result != kBadUsage) {
                return result;
            }
            break;
        }
    }
    for (const Command& command : commands) {
        std::fprintf(stderr, "%s %s\n", tool, command.usage);
    }
    return 2;
}
