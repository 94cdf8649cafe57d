#include "platform/AnsiText_win.h"

#include "platform/SystemCodePage_win.h"
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
    std::optional<AnsiText> ansi = wideToSystemAnsi(wide);
    if (!ansi) {
        failConversion();
    }
    return std::move(ansi->text);
}

std::size_t ansiLeadByteLength(unsigned char byte) {
    const unsigned codePage = systemCodePage();
    return characterLength(codePage, byte, ::IsDBCSLeadByteEx(codePage, byte) != FALSE);
}

// CharLowerA takes a single character in the low word of its pointer argument.
unsigned char toLowerAnsi(unsigned char byte) {
    if (!lowersAsSingleByte(systemCodePage(), byte)) {
        return byte;
    }
    return static_cast<unsigned char>(
        reinterpret_cast<ULONG_PTR>(::CharLowerA(reinterpret_cast<LPSTR>(ULONG_PTR{byte}))));
}

} // namespace hk
