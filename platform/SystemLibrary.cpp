#include "platform/SystemLibrary.h"

namespace hk {

namespace {

constexpr unsigned long kErrorInvalidParameter = 87;

} // namespace

std::optional<std::string> systemLibraryPath(unsigned long refusal, std::string_view systemFolder,
                                             std::string_view name) {
    if (refusal != kErrorInvalidParameter || systemFolder.empty()) {
        return std::nullopt;
    }
    // The system folder ends in a separator only as a drive's root ("C:\"); a last byte equal to
    // '\' may be a double-byte character's trail byte.
    std::string path(systemFolder);
    if (!systemFolder.ends_with(":\\")) {
        path += '\\';
    }
    return path.append(name);
}

} // namespace hk
