#include "app/ErrorText.h"

#include "base/Error.h"
#include "tests/unit/LeadBytes.h"

#include <cstdlib>
#include <cxxabi.h>
#include <gtest/gtest.h>
#include <memory>
#include <new>
#include <typeinfo>

struct OutsideAnyNamespace {};

namespace hk {
namespace {

using test::lengthsIn;

// The sentence ends as the platform writes them in each code page; a Western one lacks them all.
SentenceEnds sentenceEndsIn(unsigned codePage) {
    std::vector<std::string> marks;
    if (codePage == 932) {
        marks = {"\x81\x42", "\x81\x44", "\xA1", "\x81\x49"};
    } else if (codePage == 65001) {
        marks = {"\xE3\x80\x82", "\xEF\xBC\x8E", "\xEF\xBD\xA1", "\xEF\xBC\x81"};
    }
    return {lengthsIn(codePage), marks};
}

TEST(ErrorText, BoxAddsAFullStopAfterEveryLastCharacterAboveItThatEndsNoSentence) {
    struct Case {
        std::string message;
        std::string shown;
        unsigned codePage = 1252;
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
        // In Japanese (932): a reason that ends in the ideographic full stop, one that ends in a
        // letter, one whose last letter's trail byte and an ASCII "B" read as that stop's bytes,
        // the full-width exclamation mark and the half-width full stop.
        {"\x8F\x5C\x95\xAA\x82\xC8\x83\x81\x83\x82\x83\x8A\x82\xAA\x82\xA0\x82\xE8\x82\xDC"
         "\x82\xB9\x82\xF1\x81\x42",
         "\x8F\x5C\x95\xAA\x82\xC8\x83\x81\x83\x82\x83\x8A\x82\xAA\x82\xA0\x82\xE8\x82\xDC"
         "\x82\xB9\x82\xF1\x81\x42",
         932},
        {"\x83\x81\x83\x82\x83\x8A", "\x83\x81\x83\x82\x83\x8A.", 932},
        {"\x83\x81\x42", "\x83\x81\x42.", 932},
        {"\x92\xE2\x8E~\x81\x49", "\x92\xE2\x8E~\x81\x49", 932},
        {"\x83\x81\xA1", "\x83\x81\xA1", 932},
        {"\xE3\x83\xA1\xE3\x80\x82", "\xE3\x83\xA1\xE3\x80\x82", 65001}, // in UTF-8
    };
    for (const Case& c : cases) {
        EXPECT_EQ(errorBoxText(c.message, sentenceEndsIn(c.codePage)), c.shown) << c.message;
    }
}

TEST(ErrorText, FatalTextNamesTypeModuleOffsetAndMessage) {
    struct Case {
        std::uintptr_t offset;
        std::string message;
        std::string text;
        unsigned codePage = 1252;
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
        // Japanese (932) that ends in the ideographic full stop, and in a letter.
        {0x10, "\x83\x81\x83\x82\x83\x8A\x81\x42",
         "Exception SystemError in module HotKeys.exe at "
         "00000010.\r\n\x83\x81\x83\x82\x83\x8A\x81\x42\r\n",
         932},
        {0x10, "\x83\x81\x83\x82\x83\x8A",
         "Exception SystemError in module HotKeys.exe at "
         "00000010.\r\n\x83\x81\x83\x82\x83\x8A.\r\n",
         932},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fatalErrorText("SystemError", "HotKeys.exe", c.offset, c.message,
                                 sentenceEndsIn(c.codePage)),
                  c.text);
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
