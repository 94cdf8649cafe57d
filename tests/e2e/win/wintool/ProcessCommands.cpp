// Starting a program with a chosen show command, and ending one that will not close.
#include "../UniqueKernelHandle.h"
#include "Commands.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string commandLine(Args args) {
    std::string line;
    for (const char* arg : args) {
        if (!line.empty())
            line += ' ';
        line += '"';
        line += arg;
        line += '"';
    }
    return line;
}

} // namespace

// The show command reaches the child through its start-up information, exactly as a shell
// shortcut set to "minimised" or "maximised" would pass it; "-" passes none.
int startProcess(Args args) {
    if (args.size() < 2)
        return kBadUsage;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (std::strcmp(args[0], "-") != 0) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = WORD(parseNumber(args[0]));
    }
    std::string line = commandLine(args.subspan(1));
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(args[1], line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::printf("error=%lu\n", GetLastError());
        return 1;
    }
    UniqueKernelHandle processHandle(process.hProcess);
    UniqueKernelHandle threadHandle(process.hThread);
    std::printf("pid=%lu\n", process.dwProcessId);
    std::fflush(stdout);
    WaitForSingleObject(processHandle.get(), INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(processHandle.get(), &exitCode);
    std::printf("exit=%lu\n", exitCode);
    return int(exitCode);
}

int killProcess(Args args) {
    if (args.size() != 1)
        return kBadUsage;
    UniqueKernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, DWORD(parseNumber(args[0]))));
    if (!process || !TerminateProcess(process.get(), 1))
        return 1;
    return 0;
}
