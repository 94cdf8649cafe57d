#include "platform/AnsiText_win.h"

#include "platform/SystemErrorText_win.h"

#include <windows.h>

namespace hk {
namespace {

[[noreturn]] void failConversion() {
    raiseLastError(SystemErrorWording::CodeAndText);
}

std::wstring toWide(const std::string& utf8) {
    const int size = static_cast<int>(utf8.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    if (length == 0) {
        failConversion();
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

} // namespace

std::string toSystemAnsi(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    const std::wstring wide = toWide(utf8);
    const int size = static_cast<int>(wide.size());
    // Not the thread's code page: that one follows the user's regional format, which need not
    // be the system's.
    const int length =
        ::WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, "?", nullptr);
    if (length == 0) {
        failConversion();
    }
    std::string ansi(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), size, ansi.data(), length, "?", nullptr);
    return ansi;
}

bool isAnsiLeadByte(unsigned char byte) {
    return ::IsDBCSLeadByte(byte) != FALSE;
}

// CharLowerA takes a single character in the low word of its pointer argument.
unsigned char toLowerAnsi(unsigned char byte) {
    return static_cast<unsigned char>(
        reinterpret_cast<ULONG_PTR>(::CharLowerA(reinterpret_cast<LPSTR>(ULONG_PTR{byte}))));
}

} // namespace hk
