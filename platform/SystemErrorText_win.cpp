#include "platform/SystemErrorText_win.h"

#include "base/Error.h"

#include <windows.h>

namespace hk {
namespace {

// The platform's texts end in a line break that would otherwise come after the full stop.
std::string systemMessageText(unsigned long code) {
    char text[512] = {};
    const DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                         0, text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
        message.pop_back();
    }
    return message;
}

} // namespace

std::string systemErrorMessage(unsigned long code, SystemErrorWording wording) {
    return systemErrorText(code, systemMessageText(code), wording);
}

void raiseSystemError(unsigned long code, SystemErrorWording wording) {
    raise<SystemError>(systemErrorMessage(code, wording));
}

void raiseLastError(SystemErrorWording wording) {
    raiseSystemError(::GetLastError(), wording);
}

} // namespace hk
