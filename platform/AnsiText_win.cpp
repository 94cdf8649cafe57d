#include "platform/AnsiText_win.h"

#include <windows.h>

namespace hk {
namespace {

std::optional<std::wstring> toWide(const std::string& utf8) {
    const int size = static_cast<int>(utf8.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    if (length == 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

} // namespace

// Asked once, so that every conversion and every rule of a run follow the same code page. Not the
// thread's: that one follows the user's regional format, which need not be the system's.
unsigned systemCodePage() {
    static const unsigned codePage = ::GetACP();
    return codePage;
}

// Without WC_NO_BEST_FIT_CHARS the platform puts a look-alike for a letter that the code page
// lacks ("l" for "ł") and does not count it as a default character.
std::optional<AnsiText> wideToSystemAnsi(std::wstring_view wide, bool exact) {
    const unsigned codePage = systemCodePage();
    const DWORD flags = exact ? WC_NO_BEST_FIT_CHARS : 0;
    const char* defaultCharacter = exact ? "?" : nullptr;
    BOOL usedDefault = FALSE;
    const int size = static_cast<int>(wide.size());
    const int length = ::WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0,
                                             defaultCharacter, nullptr);
    if (length == 0) {
        return std::nullopt;
    }
    std::string ansi(static_cast<std::size_t>(length), '\0');
    if (::WideCharToMultiByte(codePage, flags, wide.data(), size, ansi.data(), length,
                              defaultCharacter, exact ? &usedDefault : nullptr) == 0) {
        return std::nullopt;
    }
    return AnsiText{std::move(ansi), usedDefault == FALSE};
}

std::optional<std::string> toSystemAnsi(const std::string& utf8) {
    if (utf8.empty()) {
        return std::string();
    }
    const std::optional<std::wstring> wide = toWide(utf8);
    std::optional<AnsiText> ansi =
        wide ? wideToSystemAnsi(*wide, convertsExactly(systemCodePage())) : std::nullopt;
    if (!ansi) {
        return std::nullopt;
    }
    return std::move(ansi->text);
}

std::vector<std::string> systemCharacters(std::wstring_view characters) {
    std::vector<std::string> written;
    for (std::size_t at = 0; at < characters.size(); ++at) {
        const std::optional<AnsiText> ansi =
            wideToSystemAnsi(characters.substr(at, 1), convertsExactly(systemCodePage()));
        if (ansi && ansi->whole) {
            written.push_back(ansi->text);
        }
    }
    return written;
}

std::size_t systemCharacterLength(unsigned char byte) {
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
