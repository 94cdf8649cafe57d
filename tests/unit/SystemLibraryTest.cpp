#include "platform/SystemLibrary.h"

#include <gtest/gtest.h>

namespace hk {
namespace {

TEST(SystemLibrary, IsLoadedByItsFullPathOnlyWhereTheSystemFolderSearchIsRefusedAsInvalid) {
    struct Case {
        unsigned long refusal;
        const char* folder;
        std::optional<std::string> path;
    };
    const Case cases[] = {
        // ERROR_INVALID_PARAMETER: Windows 7 without its loader update.
        {87, "C:\\Windows\\system32", "C:\\Windows\\system32\\shell32.dll"},
        {87, "C:\\", "C:\\shell32.dll"},
        // 0x95 0x5C is one character in code page 932, not a separator.
        {87, "D:\\\x95\x5C", "D:\\\x95\x5C\\shell32.dll"},
        // Without the folder, only a bare name would be left, found through the search path.
        {87, "", std::nullopt},
        // ERROR_MOD_NOT_FOUND: the search ran, and the library is not there.
        {126, "C:\\Windows\\system32", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(systemLibraryPath(c.refusal, c.folder, "shell32.dll"), c.path)
            << c.refusal << " " << c.folder;
    }
}

} // namespace
} // namespace hk
