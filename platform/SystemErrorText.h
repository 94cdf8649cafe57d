#pragma once

#include "platform/AnsiText.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace hk {

// How the message of a failed platform call reads.
enum class SystemErrorWording {
    // "System Error.  Code: n." and the platform's text: a window, font or text conversion.
    CodeAndText,
    // The platform's text alone, or "System error n" when it has none: a refused bitmap.
    TextOnly,
};

// The message of a failed platform call, from its error code and the platform's text for it.
std::string systemErrorText(unsigned long code, const std::string& systemText,
                            SystemErrorWording wording);

// The platform's text for an error in a language (a language identifier, 0 for the platform's own
// choice); none when it has no text in that language.
using SystemTextIn = std::function<std::optional<std::wstring>(std::uint16_t language)>;

// Wide text converted by the platform into the system's code page, exactly or not
// (convertsExactly); none when it cannot convert it.
using ToSystemAnsi = std::function<std::optional<AnsiText>(std::wstring_view wide, bool exact)>;

// The platform's text for an error in a language that the system's code page shows as it is.
std::string systemReason(unsigned codePage, std::uint16_t userLanguage,
                         std::uint16_t systemLanguage, const SystemTextIn& textIn,
                         const ToSystemAnsi& toAnsi);

} // namespace hk
