#include "platform/FileName.h"

namespace hk {

std::string_view fileNameOf(std::string_view path, const CharacterLength& characterLength) {
    std::size_t start = 0;
    forEachCharacter(path, characterLength, [&](std::size_t at, std::size_t length) {
        if (length == 1 && path[at] == '\\') {
            start = at + 1;
        }
    });
    return path.substr(start);
}

} // namespace hk
