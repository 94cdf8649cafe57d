#pragma once

#include <string>

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

} // namespace hk
