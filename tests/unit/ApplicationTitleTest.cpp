#include "app/ApplicationTitle.h"

#include "tests/unit/LeadBytes.h"

#include <gtest/gtest.h>

namespace hk {
namespace {

using test::isShiftJisLead;
using test::noLeadBytes;

// Lower case as in a Western 8-bit code page: ASCII and the accented capitals 0xC0-0xDE.
unsigned char westernLower(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return static_cast<unsigned char>(c + 0x20);
    }
    return c;
}

TEST(ApplicationTitle, IsTheFileNameBeforeItsFirstFullStopWithOnlyTheFirstLetterKeptInCase) {
    struct Case {
        const char* path;
        const char* title;
    };
    const Case cases[] = {
        {"C:\\Program Files\\HotKeys\\HotKeys.exe", "Hotkeys"},
        {"C:\\WIDGET.EXE", "Widget"},
        {"C:\\tools\\my.tool.exe", "my"},
        {"D:\\x.y\\plain", "plain"},
        {"HotKeys.exe", "Hotkeys"},
        {"C:\\\xC4PFEL\xD6L.exe", "\xC4pfel\xF6l"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(applicationTitle(c.path, noLeadBytes, westernLower), c.title) << c.path;
    }
}

TEST(ApplicationTitle, TrailByteThatLooksLikeABackslashDoesNotSplitTheName) {
    // 0x95 0x5C is one double-byte character whose second byte equals '\', and 0x83 0x58 one
    // whose second byte equals 'X', which lower-casing must leave alone.
    EXPECT_EQ(applicationTitle("C:\\apps\\\x95\x5C\x83X.exe", isShiftJisLead, westernLower),
              "\x95\x5C\x83X");
    EXPECT_EQ(applicationTitle("C:\\apps\\\x95\x5C\x83X.exe", noLeadBytes, westernLower), "\x83x");
}

} // namespace
} // namespace hk
