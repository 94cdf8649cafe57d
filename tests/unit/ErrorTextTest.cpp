#include "app/ErrorText.h"

#include <gtest/gtest.h>

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
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fatalErrorText("SystemError", "HotKeys.exe", c.offset, c.message), c.text);
    }
}

TEST(ErrorText, SystemErrorGivesTheCodeAndThePlatformTextOrAFixedOneForZero) {
    EXPECT_EQ(systemErrorText(1407, "Cannot find window class."),
              "System Error.  Code: 1407.\r\nCannot find window class.");
    EXPECT_EQ(systemErrorText(0, "The operation completed successfully."),
              "System Error.  Code: 0.\r\nA call to an OS function failed");
}

} // namespace
} // namespace hk
