#include "platform/SystemErrorText.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

namespace hk {
namespace {

TEST(SystemErrorText, SystemErrorGivesTheCodeAndThePlatformTextOrAFixedOneForZero) {
    constexpr auto kCodeAndText = SystemErrorWording::CodeAndText;
    constexpr auto kTextOnly = SystemErrorWording::TextOnly;
    struct Case {
        unsigned long code;
        const char* systemText;
        SystemErrorWording wording;
        const char* message;
    };
    const Case cases[] = {
        {1407, "Cannot find window class.", kCodeAndText,
         "System Error.  Code: 1407.\r\nCannot find window class."},
        {0, "The operation completed successfully.", kCodeAndText,
         "System Error.  Code: 0.\r\nA call to an OS function failed"},
        {8, "Not enough memory resources are available.", kTextOnly,
         "Not enough memory resources are available."},
        {1234, "", kTextOnly, "System error 1234"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(systemErrorText(c.code, c.systemText, c.wording), c.message) << c.code;
    }
}

// The platform's conversion of the letters of these texts, as measured: ASCII everywhere, the
// Latin-1 letters in Western (1252), the Russian ones in Cyrillic (1251); for another, the
// look-alike that the platform puts unless it is asked to be exact, else "?" (a default character).
std::optional<AnsiText> platformConversion(std::wstring_view wide, unsigned codePage, bool exact) {
    const std::map<wchar_t, char> lookAlikes = {{L'ł', 'l'}, {L'ę', 'e'}, {L'ě', 'e'},
                                                {L'í', 'i'}, {L'ş', 's'}, {L'ç', 'c'}};
    AnsiText ansi{"", true};
    for (const wchar_t c : wide) {
        const auto alike = lookAlikes.find(c);
        if (c < 0x80 || (codePage == 1252 && c >= 0xA0 && c <= 0xFF)) {
            ansi.text += static_cast<char>(c);
        } else if (codePage == 1251 && c >= L'А' && c <= L'я') {
            ansi.text += static_cast<char>(c - L'А' + 0xC0);
        } else if (!exact && alike != lookAlikes.end()) {
            ansi.text += alike->second;
        } else {
            ansi.text += '?';
            ansi.whole = false;
        }
    }
    return ansi;
}

TEST(SystemErrorText, SystemReasonIsInTheFirstLanguageWhoseTextTheCodePageShowsExactly) {
    // Russian, German, US English, Polish, Czech and Turkish; the platform's own choice (0) is
    // the user's language, or else the system's, as the platform has them.
    constexpr std::uint16_t kRussian = 0x0419, kGerman = 0x0407, kEnglish = 0x0409;
    constexpr std::uint16_t kPolish = 0x0415, kCzech = 0x0405, kTurkish = 0x041F;
    const std::map<std::uint16_t, std::wstring> texts = {
        {kRussian, L"Недостаточно памяти.\r\n"},
        {kGerman, L"Nicht genügend Speicher.\r\n"},
        {kEnglish, L"Not enough memory.\r\n"},
        {kPolish, L"Zbyt mało pamięci.\r\n"},
        {kCzech, L"Není dostatek paměti.\r\n"},
        {kTurkish, L"Bu komutu işlemek için yeterli bellek yok.\r\n"},
    };
    struct Case {
        std::uint16_t user;
        std::uint16_t system;
        unsigned codePage;
        std::set<std::uint16_t> lacking; // languages that the platform has no text in
        const char* reason;
    };
    const char* german = "Nicht gen\xFCgend Speicher.";
    const char* english = "Not enough memory.";
    const char* russian =
        "\xCD\xE5\xE4\xEE\xF1\xF2\xE0\xF2\xEE\xF7\xED\xEE \xEF\xE0\xEC\xFF\xF2\xE8.";
    const Case cases[] = {
        {kGerman, kEnglish, 1252, {}, german},
        {kRussian, kGerman, 1252, {}, german},
        {kRussian, kRussian, 1252, {}, english},
        {kGerman, kRussian, 1252, {kGerman}, english},
        {kRussian, kRussian, 1252, {kEnglish}, "???????????? ??????."},
        {kGerman, kGerman, 1252, {kGerman, kEnglish}, ""},
        // Letters that the code page has only look-alikes for: "ł", "ę", "ě", "ş" (and "í", "ç"
        // in Cyrillic).
        {kPolish, kEnglish, 1252, {}, english},
        {kCzech, kEnglish, 1252, {}, english},
        {kTurkish, kEnglish, 1252, {}, english},
        {kPolish, kRussian, 1251, {}, russian},
        {kCzech, kEnglish, 1251, {}, english},
        {kTurkish, kEnglish, 1251, {}, english},
    };
    for (const Case& c : cases) {
        const auto has = [&](std::uint16_t language) {
            return texts.contains(language) && !c.lacking.contains(language);
        };
        const auto textIn = [&](std::uint16_t language) -> std::optional<std::wstring> {
            const std::uint16_t from = language != 0 ? language : has(c.user) ? c.user : c.system;
            return has(from) ? std::optional(texts.at(from)) : std::nullopt;
        };
        const auto toAnsi = [&c](std::wstring_view wide, bool exact) {
            return platformConversion(wide, c.codePage, exact);
        };
        EXPECT_EQ(systemReason(c.codePage, c.user, c.system, textIn, toAnsi), c.reason)
            << c.user << " " << c.system << " " << c.codePage;
    }
}

} // namespace
} // namespace hk
