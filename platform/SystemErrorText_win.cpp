#include "platform/SystemErrorText_win.h"

#include "base/Error.h"
#include "platform/SystemCodePage_win.h"

#include <iterator>
#include <windows.h>

namespace hk {
namespace {

std::optional<AnsiText> systemTextIn(unsigned long code, std::uint16_t language) {
    wchar_t text[512] = {};
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                         language, text, std::size(text), nullptr);
    if (length == 0) {
        return std::nullopt;
    }
    return wideToSystemAnsi(std::wstring_view(text, length));
}

} // namespace

std::string systemErrorMessage(unsigned long code, SystemErrorWording wording) {
    const std::string reason =
        systemReason(::GetUserDefaultUILanguage(), ::GetSystemDefaultUILanguage(),
                     [code](std::uint16_t language) { return systemTextIn(code, language); });
    return systemErrorText(code, reason, wording);
}

void raiseSystemError(unsigned long code, SystemErrorWording wording) {
    raise<SystemError>(systemErrorMessage(code, wording));
}

void raiseLastError(SystemErrorWording wording) {
    raiseSystemError(::GetLastError(), wording);
}

} // namespace hk
