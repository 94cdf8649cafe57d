#include "app/ErrorText.h"

#include <cstdio>

namespace hk {

// Compared as unsigned bytes: in an 8-bit code page every letter above 0x7F must count as "above
// the full stop" too.
std::string errorBoxText(std::string message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > 0x2E) {
        message += '.';
    }
    return message;
}

// The offset is always shown in 8 hex digits, as in a 32-bit address, even in a 64-bit build.
std::string fatalErrorText(const std::string& typeName, const std::string& moduleName,
                           std::uintptr_t offset, const std::string& message) {
    char address[9];
    std::snprintf(address, sizeof address, "%08X", static_cast<unsigned>(offset & 0xFFFFFFFFu));
    const char* stop = !message.empty() && message.back() != '.' ? "." : "";
    return "Exception " + typeName + " in module " + moduleName + " at " + address + ".\r\n" +
           message + stop + "\r\n";
}

std::string systemErrorText(unsigned long code, const std::string& systemText) {
    const std::string text = code == 0 ? "A call to an OS function failed" : systemText;
    return "System Error.  Code: " + std::to_string(code) + ".\r\n" + text;
}

} // namespace hk
