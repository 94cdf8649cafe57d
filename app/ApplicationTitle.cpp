#include "app/ApplicationTitle.h"

#include "platform/FileName.h"

namespace hk {

std::string applicationTitle(std::string_view path, const CharacterLength& characterLength,
                             const LowerCase& toLower) {
    std::string title(fileNameOf(path, characterLength));
    if (const std::size_t dot = title.find('.'); dot != std::string::npos) {
        title.resize(dot);
    }
    // A trail byte is part of a longer character, not a letter of its own: it keeps its value.
    forEachCharacter(title, characterLength, [&](std::size_t at, std::size_t length) {
        if (length == 1 && at > 0) {
            title[at] = static_cast<char>(toLower(static_cast<unsigned char>(title[at])));
        }
    });
    return title;
}

} // namespace hk
