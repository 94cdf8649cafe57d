#include "platform/AnsiText_win.h"

#include "platform/SystemErrorText_win.h"

#include <windows.h>

namespace hk {
namespace {

[[noreturn]] void failConversion() {
    raiseLastError(SystemErrorWording::CodeAndText);
}

// Asked once, so that every conversion and every rule of a run follow the same code page. Not the
// thread's: that one follows the user's regional format, which need not be the system's.
unsigned systemCodePage() {
    static const unsigned codePage = ::GetACP();
    return codePage;
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
    std::optional<AnsiText> ansi = wideToSystemAnsi(toWide(utf8));
    if (!ansi) {
        failConversion();
    }
    return std::move(ansi->text);
}

std::optional<AnsiText> wideToSystemAnsi(std::wstring_view wide) {
    const unsigned codePage = systemCodePage();
    const bool substitutes = takesDefaultCharacter(codePage);
    const char* defaultCharacter = substitutes ? "?" : nullptr;
    BOOL usedDefault = FALSE;
    const int size = static_cast<int>(wide.size());
    const int length = ::WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0,
                                             defaultCharacter, nullptr);
    if (length == 0) {
        return std::nullopt;
    }
    std::string ansi(static_cast<std::size_t>(length), '\0');
    if (::WideCharToMultiByte(codePage, 0, wide.data(), size, ansi.data(), length, defaultCharacter,
                              substitutes ? &usedDefault : nullptr) == 0) {
        return std::nullopt;
    }
    return AnsiText{std::move(ansi), usedDefault == FALSE};
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
