#include "platform/ModuleFileName_win.h"

#include <vector>

namespace hk {

// Room for the longest path the platform allows, not only for MAX_PATH: a program kept deep in
// a folder tree would otherwise show a cut-off name.
std::string moduleFileName(HMODULE module) {
    std::vector<char> path(32768);
    const DWORD length = ::GetModuleFileNameA(module, path.data(), static_cast<DWORD>(path.size()));
    return std::string(path.data(), length);
}

} // namespace hk
