#include "platform/FileName.h"

#include "tests/unit/LeadBytes.h"

#include <gtest/gtest.h>

namespace hk {
namespace {

using test::lengthsIn;

TEST(FileName, IsWhatFollowsTheLastSeparatorThatIsACharacterOfItsOwn) {
    struct Case {
        const char* path;
        unsigned codePage;
        const char* name;
    };
    const Case cases[] = {
        {"C:\\Program Files\\HotKeys\\HotKeys.exe", 1252, "HotKeys.exe"},
        {"HotKeys.exe", 1252, "HotKeys.exe"},
        {"C:\\folder\\", 1252, ""},
        // 0x95 0x5C is one character in code page 932 whose trail byte equals '\'.
        {"C:\\apps\\\x95\x5C.exe", 932, "\x95\x5C.exe"},
        {"C:\\\x95\x5C\\\x95\x5C\x95\x5C.exe", 932, "\x95\x5C\x95\x5C.exe"},
        // In a single-byte code page the same byte is a separator.
        {"C:\\apps\\\x95\x5C.exe", 1252, ".exe"},
        // No byte of a UTF-8 character equals '\': one just before a separator leaves it one.
        {"C:\\\xE4\xBA\x88\\\xE8\xA1\xA8.exe", 65001, "\xE8\xA1\xA8.exe"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fileNameOf(c.path, lengthsIn(c.codePage)), c.name) << c.path;
    }
}

} // namespace
} // namespace hk
