#include "app/ErrorText.h"

#include "base/Error.h"
#include "platform/SystemErrorText.h"

#include <cstdlib>
#include <cxxabi.h>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <new>
#include <typeinfo>

struct OutsideAnyNamespace {};

namespace hk {
namespace {

TEST(ErrorText, BoxAddsAFullStopAfterEveryLastCharacterAboveIt) {
    struct Case {
        std::string message;
        std::string shown;
    };
    const Case cases[] = {
        {"", ""},
        {"Out of memory", "Out of memory."},
        {"Code 42", "Code 42."},
        {"Done.", "Done."},
        {"Stop!", "Stop!"},
        {"(none)", "(none)"},
        {"a,", "a,"},
        {"trailing ", "trailing "},
        {"a-", "a-"},
        {"Why?", "Why?."},
        {"Key:", "Key:."},
        {"a/", "a/."},
        {"caf\xE9", "caf\xE9."}, // an 8-bit letter compares above '.' as an unsigned byte
    };
    for (const Case& c : cases) {
        EXPECT_EQ(errorBoxText(c.message), c.shown) << c.message;
    }
}

TEST(ErrorText, FatalTextNamesTypeModuleOffsetAndMessage) {
    struct Case {
        std::uintptr_t offset;
        std::string message;
        std::string text;
    };
    const Case cases[] = {
        {0x1A2B, "Resource TForm1 not found",
         "Exception SystemError in module HotKeys.exe at 00001A2B.\r\n"
         "Resource TForm1 not found.\r\n"},
        {0xABCDEF12, "Ends here.",
         "Exception SystemError in module HotKeys.exe at ABCDEF12.\r\nEnds here.\r\n"},
        {0, "", "Exception SystemError in module HotKeys.exe at 00000000.\r\n\r\n"},
        {0x10, "Really?",
         "Exception SystemError in module HotKeys.exe at 00000010.\r\nReally?.\r\n"},
        {0x10, "Stop!", "Exception SystemError in module HotKeys.exe at 00000010.\r\nStop!.\r\n"},
        {std::uintptr_t{0x3} << 32 | 0xC0DE, "Far.",
         "Exception SystemError in module HotKeys.exe at 0000C0DE.\r\nFar.\r\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fatalErrorText("SystemError", "HotKeys.exe", c.offset, c.message), c.text);
    }
}

TEST(ErrorText, SystemErrorGivesTheCodeAndThePlatformTextOrAFixedOneForZero) {
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

TEST(ErrorText, SystemReasonIsInTheFirstLanguageWhoseTextTheCodePageShowsWhole) {
    // Russian (0x0419), German (0x0407), US English (0x0409) and the platform's own choice (0),
    // as a Western code page shows each; "Russian" stands for a text that came with "?".
    using Texts = std::map<std::uint16_t, AnsiText>;
    const AnsiText russian{"????? ??????.\r\n", false};
    const AnsiText german{"Nicht gen\xFCgend Speicher.\r\n", true};
    const AnsiText english{"Not enough memory.\r\n", true};
    struct Case {
        std::uint16_t user;
        std::uint16_t system;
        Texts texts;
        const char* reason;
    };
    const Case cases[] = {
        {0x0407,
         0x0409,
         {{0x0407, german}, {0x0409, english}, {0, german}},
         "Nicht gen\xFCgend Speicher."},
        {0x0419,
         0x0407,
         {{0x0419, russian}, {0x0407, german}, {0, russian}},
         "Nicht gen\xFCgend Speicher."},
        {0x0419,
         0x0419,
         {{0x0419, russian}, {0x0409, english}, {0, russian}},
         "Not enough memory."},
        {0x0407,
         0x0419,
         {{0x0419, russian}, {0x0409, english}, {0, russian}},
         "Not enough memory."}, // no German text
        {0x0419, 0x0419, {{0x0419, russian}, {0, russian}}, "????? ??????."},
        {0x0407, 0x0407, {}, ""},
    };
    for (const Case& c : cases) {
        const auto textIn = [&c](std::uint16_t language) -> std::optional<AnsiText> {
            const auto found = c.texts.find(language);
            return found == c.texts.end() ? std::nullopt : std::optional(found->second);
        };
        EXPECT_EQ(systemReason(c.user, c.system, textIn), c.reason) << c.user << " " << c.system;
    }
}

std::string libraryDemangled(const char* mangled) {
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> name(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
    return status == 0 ? name.get() : mangled;
}

TEST(ErrorText, TypeNamesOfEscapingClassesReadAsTheLibraryDemanglerReadsThem) {
    const std::type_info* types[] = {
        &typeid(std::bad_alloc), &typeid(std::length_error),   &typeid(std::bad_array_new_length),
        &typeid(SystemError),    &typeid(OutsideAnyNamespace), &typeid(std::exception),
    };
    for (const std::type_info* type : types) {
        EXPECT_EQ(readableTypeName(type->name()), libraryDemangled(type->name())) << type->name();
    }
}

TEST(ErrorText, TypeNamesBeyondPlainClassesStayAsStored) {
    const char* names[] = {
        "",
        "i",
        "St",
        "N2hkE2",
        "St99x",
        "N2hk5Error",
        "9Something_",
        "NSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE",
        "99999999999999999999999a",
        "NSt8ios_base7failureB5cxx11E", // an ABI tag
    };
    for (const char* name : names) {
        EXPECT_EQ(readableTypeName(name), name);
    }
    EXPECT_EQ(readableTypeName("9Something"), "Something");
    EXPECT_EQ(readableTypeName("N2hk5ErrorE"), "hk::Error");
}

} // namespace
} // namespace hk
