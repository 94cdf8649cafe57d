#include "platform/ShellLibrary_win.h"

namespace hk {

// Only the system directory is searched, as for the import table: a shell32.dll beside the
// program is never picked up. A failed load is tried again on the next call.
ShellLibrary::ShellExecuteFunction ShellLibrary::shellExecute() {
    if (execute != nullptr) {
        return execute;
    }
    if (!module) {
        module.reset(::LoadLibraryExA("shell32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
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
