#include "platform/SystemErrorText_win.h"

#include "base/Error.h"
#include "platform/AnsiText_win.h"
#include "platform/UniqueHandle_win.h"

#include <windows.h>

namespace hk {
namespace {

// The platform allocates the text, so that a text of any length comes whole.
std::optional<std::wstring> systemTextIn(unsigned long code, std::uint16_t language) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, language, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    const UniqueLocalMemory owned(text);
    if (length == 0) {
        return std::nullopt;
    }
    return std::wstring(text, length);
}

} // namespace

std::string systemErrorMessage(unsigned long code, SystemErrorWording wording) {
    const std::string reason = systemReason(
        systemCodePage(), ::GetUserDefaultUILanguage(), ::GetSystemDefaultUILanguage(),
        [code](std::uint16_t language) { return systemTextIn(code, language); }, wideToSystemAnsi);
    return systemErrorText(code, reason, wording);
}

void raiseSystemError(unsigned long code, SystemErrorWording wording) {
    raise<SystemError>(systemErrorMessage(code, wording));
}

void raiseLastError(SystemErrorWording wording) {
    raiseSystemError(::GetLastError(), wording);
}

} // namespace hk
