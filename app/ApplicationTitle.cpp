#include "app/ApplicationTitle.h"

namespace hk {

namespace {

// A double-byte character's trail byte may equal '\\', so the scan steps over whole characters.
std::size_t fileNameStart(std::string_view path, const LeadBytePredicate& isLeadByte) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(path[i]))) {
            ++i;
        } else if (path[i] == '\\') {
            start = i + 1;
        }
    }
    return start;
}

} // namespace

std::string applicationTitle(std::string_view path, const LeadBytePredicate& isLeadByte,
                             const LowerCase& toLower) {
    std::string title(path.substr(fileNameStart(path, isLeadByte)));
    if (const std::size_t dot = title.find('.'); dot != std::string::npos) {
        title.resize(dot);
    }
    // A trail byte is part of a double-byte character, not a letter of its own: it keeps its value.
    std::size_t i = 0;
    while (i < title.size()) {
        const auto byte = static_cast<unsigned char>(title[i]);
        if (isLeadByte(byte)) {
            i += 2;
            continue;
        }
        if (i > 0) {
            title[i] = static_cast<char>(toLower(byte));
        }
        ++i;
    }
    return title;
}

} // namespace hk
