#include "platform/SystemErrorText.h"

namespace hk {

std::string systemErrorText(unsigned long code, const std::string& systemText,
                            SystemErrorWording wording) {
    if (wording == SystemErrorWording::TextOnly) {
        return systemText.empty() ? "System error " + std::to_string(code) : systemText;
    }
    const std::string text = code == 0 ? "A call to an OS function failed" : systemText;
    return "System Error.  Code: " + std::to_string(code) + ".\r\n" + text;
}

} // namespace hk
