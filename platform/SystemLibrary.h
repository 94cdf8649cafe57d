#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hk {

// Where to load the library `name` of the system folder from once the loader has refused to
// search that folder alone: by its full path in `systemFolder` when the refusal is an invalid
// parameter, as from Windows 7 without its loader update, which lacks that search. Nowhere for
// any other refusal, or while the folder is unknown: a system library never comes through the
// search path, where a file of the same name beside the program would be found first.
std::optional<std::string> systemLibraryPath(unsigned long refusal, std::string_view systemFolder,
                                             std::string_view name);

} // namespace hk
