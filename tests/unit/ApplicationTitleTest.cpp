#include "app/ApplicationTitle.h"

#include "tests/unit/LeadBytes.h"

#include <gtest/gtest.h>

namespace hk {
namespace {

using test::lengthsIn;

// Lower case as in a Western 8-bit code page: ASCII and the accented capitals 0xC0-0xDE.
unsigned char westernLower(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return static_cast<unsigned char>(c + 0x20);
    }
    return c;
}

// The platform's lower case of a byte, where the code page's rule is a single byte's.
LowerCase lowerIn(unsigned codePage) {
    return [codePage](unsigned char c) {
        return lowersAsSingleByte(codePage, c) ? westernLower(c) : c;
    };
}

TEST(ApplicationTitle, IsTheFileNameBeforeItsFirstFullStopWithOnlyTheFirstLetterKeptInCase) {
    struct Case {
        const char* path;
        unsigned codePage;
        const char* title;
    };
    const Case cases[] = {
        {"C:\\Program Files\\HotKeys\\HotKeys.exe", 1252, "Hotkeys"},
        {"C:\\WIDGET.EXE", 1252, "Widget"},
        {"C:\\tools\\my.tool.exe", 1252, "my"},
        {"D:\\x.y\\plain", 1252, "plain"},
        {"HotKeys.exe", 1252, "Hotkeys"},
        {"C:\\\xC4PFEL\xD6L.exe", 1252, "\xC4pfel\xF6l"},
        // 0x95 0x5C is one double-byte character whose second byte equals '\', and 0x83 0x58 one
        // whose second byte equals 'X', which lower-casing must leave alone.
        {"C:\\apps\\\x95\x5C\x83X.exe", 932, "\x95\x5C\x83X"},
        {"C:\\apps\\\x95\x5C\x83X.exe", 1252, "\x83x"},
        // The same name in UTF-8: "Ö" (C3 96) is no letter of a single byte, and its lead byte
        // is no "Ã" to lower.
        {"C:\\\xC3\x84PFEL\xC3\x96L.exe", 65001, "\xC3\x84pfel\xC3\x96l"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(applicationTitle(c.path, lengthsIn(c.codePage), lowerIn(c.codePage)), c.title)
            << c.path;
    }
}

} // namespace
} // namespace hk
