#include "platform/SystemErrorText.h"

namespace hk {
namespace {

constexpr std::uint16_t kUsEnglish = 0x0409;
constexpr std::uint16_t kPlatformsChoice = 0;

// The platform's texts end in a line break that would otherwise come after the full stop.
std::string withoutLineBreak(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

} // namespace

std::string systemErrorText(unsigned long code, const std::string& systemText,
                            SystemErrorWording wording) {
    if (wording == SystemErrorWording::TextOnly) {
        return systemText.empty() ? "System error " + std::to_string(code) : systemText;
    }
    const std::string text = code == 0 ? "A call to an OS function failed" : systemText;
    return "System Error.  Code: " + std::to_string(code) + ".\r\n" + text;
}

// A user's display language may be one that the system's code page lacks the letters of (a
// Russian display on a Western system, or a Polish one, whose "ł" would become "l"): the first
// language whose text comes exactly is shown, and failing all, the platform's own choice with
// question marks rather than nothing.
std::string systemReason(unsigned codePage, std::uint16_t userLanguage,
                         std::uint16_t systemLanguage, const SystemTextIn& textIn,
                         const ToSystemAnsi& toAnsi) {
    const auto ansiIn = [&](std::uint16_t language) -> std::optional<AnsiText> {
        const std::optional<std::wstring> wide = textIn(language);
        return wide ? toAnsi(*wide, convertsExactly(codePage)) : std::nullopt;
    };
    for (const std::uint16_t language : {userLanguage, systemLanguage, kUsEnglish}) {
        if (const std::optional<AnsiText> text = ansiIn(language); text && text->whole) {
            return withoutLineBreak(text->text);
        }
    }
    const std::optional<AnsiText> text = ansiIn(kPlatformsChoice);
    return text ? withoutLineBreak(text->text) : std::string();
}

} // namespace hk
