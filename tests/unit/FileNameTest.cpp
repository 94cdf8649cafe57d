#include "base/FileName.h"

#include "tests/unit/LeadBytes.h"

#include <gtest/gtest.h>

namespace hk {
namespace {

using test::isShiftJisLead;
using test::noLeadBytes;

TEST(FileName, IsWhatFollowsTheLastSeparatorThatIsACharacterOfItsOwn) {
    struct Case {
        const char* path;
        LeadBytePredicate isLeadByte;
        const char* name;
    };
    const Case cases[] = {
        {"C:\\Program Files\\HotKeys\\HotKeys.exe", noLeadBytes, "HotKeys.exe"},
        {"HotKeys.exe", noLeadBytes, "HotKeys.exe"},
        {"C:\\folder\\", noLeadBytes, ""},
        // 0x95 0x5C is one character in code page 932 whose trail byte equals '\'.
        {"C:\\apps\\\x95\x5C.exe", isShiftJisLead, "\x95\x5C.exe"},
        {"C:\\\x95\x5C\\\x95\x5C\x95\x5C.exe", isShiftJisLead, "\x95\x5C\x95\x5C.exe"},
        // In a single-byte code page the same byte is a separator.
        {"C:\\apps\\\x95\x5C.exe", noLeadBytes, ".exe"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fileNameOf(c.path, c.isLeadByte), c.name) << c.path;
    }
}

} // namespace
} // namespace hk
