#pragma once

#include "platform/AnsiText.h"

#include <functional>
#include <string>
#include <string_view>

namespace hk {

using LowerCase = std::function<unsigned char(unsigned char)>;

// The title of the taskbar button and of the error box, from the executable's path.
std::string applicationTitle(std::string_view path, const CharacterLength& characterLength,
                             const LowerCase& toLower);

} // namespace hk
