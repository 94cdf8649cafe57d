// The system menu of another program's window. Wine keeps menus inside their own process, so
// the driver loads menudump.dll into that process and runs its reader there.
#include "../menudump/MenuDump.h"
#include "Commands.h"
#include "platform/UniqueHandle_win.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace {

// Memory allocated inside the other process, released there when done.
struct RemoteRelease {
    HANDLE process;
    void operator()(void* address) const { VirtualFreeEx(process, address, 0, MEM_RELEASE); }
};
using RemoteBlock = std::unique_ptr<void, RemoteRelease>;

// A copy of `size` bytes at `data` in the other process; empty when it could not be made.
RemoteBlock copyInto(HANDLE process, const void* data, std::size_t size) {
    RemoteBlock block(
        VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE),
        RemoteRelease{process});
    if (block && !WriteProcessMemory(process, block.get(), data, size, nullptr))
        block.reset();
    return block;
}

// Runs `start(argument)` as a thread of the other process; returns its exit code.
bool runRemote(HANDLE process, void* start, void* argument, DWORD& exitCode) {
    UniqueKernelHandle thread(CreateRemoteThread(process, nullptr, 0,
                                                 reinterpret_cast<LPTHREAD_START_ROUTINE>(start),
                                                 argument, 0, nullptr));
    return thread && WaitForSingleObject(thread.get(), 10000) == WAIT_OBJECT_0 &&
           GetExitCodeThread(thread.get(), &exitCode);
}

// Where the reader lies in the other process. LoadLibraryA's thread ends with the module's
// address there: whole in a 32-bit process, which may load the module elsewhere than here; cut
// to its low half in a 64-bit one, where the module lies at the same address as here.
void* remoteReader(HMODULE local, void* reader, DWORD loaded) {
    auto localBase = reinterpret_cast<std::uintptr_t>(local);
    std::uintptr_t remoteBase = sizeof(void*) == sizeof(DWORD) ? loaded : localBase;
    return reinterpret_cast<void*>(remoteBase +
                                   (reinterpret_cast<std::uintptr_t>(reader) - localBase));
}

std::string helperPath() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text(path, length);
    return text.substr(0, text.find_last_of('\\') + 1) + "menudump.dll";
}

} // namespace

int systemMenu(Args args) {
    HWND window = parseWindow(args[0]);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    UniqueKernelHandle process(OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId));
    std::string path = helperPath();
    // Loaded here too, to learn where the reader lies inside the module; system DLLs load at the
    // same addresses in both processes.
    hk::UniqueModule local(LoadLibraryA(path.c_str()));
    if (!process || !local)
        return 1;
    void* loadLibrary =
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32"), "LoadLibraryA"));
    void* reader = reinterpret_cast<void*>(GetProcAddress(local.get(), "DumpSystemMenu"));

    MenuDump dump{window, ""};
    const RemoteBlock remotePath = copyInto(process.get(), path.c_str(), path.size() + 1);
    const RemoteBlock remoteDump = copyInto(process.get(), &dump, sizeof dump);
    DWORD loaded = 0;
    DWORD count = 0;
    if (!remotePath || !remoteDump ||
        !runRemote(process.get(), loadLibrary, remotePath.get(), loaded) || !loaded ||
        !runRemote(process.get(), remoteReader(local.get(), reader, loaded), remoteDump.get(),
                   count) ||
        count == DWORD(-1) ||
        !ReadProcessMemory(process.get(), remoteDump.get(), &dump, sizeof dump, nullptr))
        return 1;
    std::fputs(dump.lines, stdout);
    return 0;
}
