// Starting programs with a chosen show command, their exit codes, and holding up or ending one.
#include "Commands.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <psapi.h>
#include <string>

extern "C" LONG NTAPI NtSuspendProcess(HANDLE process);
extern "C" LONG NTAPI NtResumeProcess(HANDLE process);

namespace {

// The processes this driver started, by id, kept open so that their exit codes stay readable.
std::map<DWORD, UniqueKernelHandle> started;

std::wstring commandLine(Args args) {
    std::wstring line;
    for (const char* arg : args) {
        if (!line.empty())
            line += L' ';
        line += L'"' + wide(arg) + L'"';
    }
    return line;
}

// NtSuspendProcess and NtResumeProcess hold up and release every thread of a process at once.
int callOnProcess(const char* processId, LONG(NTAPI* call)(HANDLE)) {
    const UniqueKernelHandle process = openProcess(PROCESS_SUSPEND_RESUME, processId);
    return process && call(process.get()) == 0 ? 0 : 1;
}

} // namespace

std::wstring wide(const char* text) {
    std::wstring converted(MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, converted.data(), int(converted.size()));
    converted.pop_back();
    return converted;
}

UniqueKernelHandle openProcess(DWORD access, const char* processId) {
    return UniqueKernelHandle(OpenProcess(access, FALSE, DWORD(parseNumber(processId))));
}

// The show command reaches the child through its start-up information, exactly as a shell
// shortcut set to "minimised" or "maximised" would pass it; "-" passes none.
int startProcess(Args args) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (std::strcmp(args[0], "-") != 0) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = WORD(parseNumber(args[0]));
    }
    std::wstring line = commandLine(args.subspan(1));
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(wide(args[1]).c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        std::printf("error=%lu\n", GetLastError());
        return 1;
    }
    UniqueKernelHandle threadHandle(process.hThread);
    started[process.dwProcessId] = UniqueKernelHandle(process.hProcess);
    std::printf("pid=%lu\n", process.dwProcessId);
    return 0;
}

int waitProcess(Args args) {
    const auto found = started.find(DWORD(parseNumber(args[0])));
    if (found == started.end())
        return 1;
    DWORD exitCode = 0;
    const bool ended =
        WaitForSingleObject(found->second.get(), DWORD(parseNumber(args[1]))) == WAIT_OBJECT_0 &&
        GetExitCodeProcess(found->second.get(), &exitCode);
    ended ? std::printf("exit=%lu\n", exitCode) : std::printf("running\n");
    return 0;
}

int killProcess(Args args) {
    const UniqueKernelHandle process = openProcess(PROCESS_TERMINATE, args[0]);
    return process && TerminateProcess(process.get(), 1) ? 0 : 1;
}

int processMemory(Args args) {
    const UniqueKernelHandle process =
        openProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, args[0]);
    PROCESS_MEMORY_COUNTERS counters{};
    if (!process || !GetProcessMemoryInfo(process.get(), &counters, sizeof counters))
        return 1;
    std::printf("%llu\n", static_cast<unsigned long long>(counters.WorkingSetSize / 1024));
    return 0;
}

int suspendProcess(Args args) {
    return callOnProcess(args[0], NtSuspendProcess);
}

int resumeProcess(Args args) {
    return callOnProcess(args[0], NtResumeProcess);
}
