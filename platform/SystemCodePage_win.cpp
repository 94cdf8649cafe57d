#include "platform/SystemCodePage_win.h"

#include <windows.h>

namespace hk {

// Asked once, so that every conversion and every rule of a run follow the same code page. Not the
// thread's: that one follows the user's regional format, which need not be the system's.
unsigned systemCodePage() {
    static const unsigned codePage = ::GetACP();
    return codePage;
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

} // namespace hk
