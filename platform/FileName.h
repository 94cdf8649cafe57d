#pragma once

#include "platform/AnsiText.h"

#include <string_view>

namespace hk {

// The file's name after the last folder separator of an 8-bit path. A double-byte character's
// trail byte may equal '\\', so the scan steps over whole characters.
std::string_view fileNameOf(std::string_view path, const CharacterLength& characterLength);

} // namespace hk
