#include "platform/SystemErrorText_win.h"

#include "app/ErrorText.h"

#include <windows.h>

namespace hk {

std::string lastSystemErrorText() {
    const DWORD code = ::GetLastError();
    char text[512] = {};
    const DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                         0, text, sizeof text, nullptr);
    std::string systemText(text, length);
    // The platform's texts end in a line break that would otherwise come after the full stop.
    while (!systemText.empty() && (systemText.back() == '\n' || systemText.back() == '\r')) {
        systemText.pop_back();
    }
    return systemErrorText(code, systemText);
}

} // namespace hk
