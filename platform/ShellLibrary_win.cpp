#include "platform/ShellLibrary_win.h"

#include "platform/SystemLibrary.h"

#include <optional>
#include <string>
#include <string_view>

namespace hk {

namespace {

constexpr char kShell32[] = "shell32.dll";

// Only the system folder is searched, as for the import table: a shell32.dll beside the program
// is never picked up. A loader without that search gets the library's full path there instead,
// and then looks for shell32's own libraries from that folder first.
HMODULE loadShell32() {
    if (const HMODULE module = ::LoadLibraryExA(kShell32, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        return module;
    }
    const DWORD refusal = ::GetLastError();
    char folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    const std::optional<std::string> path = systemLibraryPath(
        refusal, std::string_view(folder, length < MAX_PATH ? length : 0), kShell32);
    return path ? ::LoadLibraryExA(path->c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH) : nullptr;
}

} // namespace

// A failed load is tried again on the next call.
ShellLibrary::ShellExecuteFunction ShellLibrary::shellExecute() {
    if (execute != nullptr) {
        return execute;
    }
    if (!module) {
        module.reset(loadShell32());
    }
    if (module) {
        // Through the generic function pointer type, which converts to any other without a
        // warning about mismatched signatures.
        execute = reinterpret_cast<ShellExecuteFunction>(
            reinterpret_cast<void (*)()>(::GetProcAddress(module.get(), "ShellExecuteA")));
    }
    return execute;
}

} // namespace hk
