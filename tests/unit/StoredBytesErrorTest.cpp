#include "base/Error.h"
#include "form/FormDescription.h"
#include "picture/PictureClasses.h"
#include "tests/unit/BitmapBytes.h"
#include "tests/unit/StoredForm.h"
#include "tools/picturefiles/PicturePayload.h"
#include "widget/FormLayout.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace hk {
namespace {

std::vector<std::uint8_t> renamed(std::vector<std::uint8_t> bytes, const std::string& from,
                                  const std::string& to) {
    const auto at = std::search(bytes.begin(), bytes.end(), from.begin(), from.end());
    EXPECT_NE(at, bytes.end()) << from;
    if (at != bytes.end()) {
        std::copy(to.begin(), to.end(), at);
    }
    return bytes;
}

void readPayload(const std::vector<std::uint8_t>& payload) {
    PictureClasses classes;
    classes.add({"png", "TPNGGraphic", readBitmapPicture});
    readPicturePayload(payload, classes);
}

// The start-up failure box names the module and offset where an error arose; an error raised
// from stored bytes without its address would point at the start of the executable instead.
TEST(StoredBytesError, EveryRefusalNamesItsTypeItsMessageAndTheCodeThatRaisedIt) {
    const std::vector<std::uint8_t> stored = storedFormBytes();
    const auto bitmap = test::bitmapFileStart({.width = 1, .height = 1}).append({1, 2, 3, 4}).data;
    auto longerThanStored = picturePayload("TPNGGraphic", bitmap);
    longerThanStored[12] += 1; // S, after the class name's length byte and its 11 letters
    struct Case {
        const char* what;
        std::function<void()> read;
        const char* type;
        std::string message;
    };
    const Case cases[] = {
        {"bad signature", [&] { readFormDescription(renamed(stored, "TPF0", "TPFX")); },
         "FormReadError", "Form description does not start with \"TPF0\""},
        // The cut runs through the string that starts at byte 32: the read that failed.
        {"truncated object", [&] { readFormDescription(std::span(stored).first(40)); },
         "FormReadError", "Form description ends early (at byte 32)"},
        {"unknown property",
         [&] { readFormDescription(renamed(stored, "PixelsPerInch", "PixelsPerInck")); },
         "FormReadError", "Form description: Form1 has no property PixelsPerInck"},
        {"bitmap without its signature",
         [&] { readPayload(picturePayload("TPNGGraphic", renamed(bitmap, "BM", "BX"))); },
         "InvalidBitmap", "Bitmap image is not valid"},
        {"bitmap of two planes",
         [&] {
             readPayload(picturePayload(
                 "TPNGGraphic", test::bitmapFileStart({.width = 1, .height = 1, .planes = 2})
                                    .append({1, 2, 3, 4})
                                    .data));
         },
         "InvalidBitmap", "Bitmap image is not valid"},
        {"payload shorter than it claims", [&] { readPayload(longerThanStored); },
         "PictureReadError", "Stream read error"},
        {"no label for slot 1",
         [&] { slotLabelIndex(readFormDescription(renamed(stored, "Label2", "Label9")), 1); },
         "FormReadError", "The form has no label for target slot 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            c.read();
            ADD_FAILURE() << "read without an error";
        } catch (const Error& error) {
            EXPECT_STREQ(error.typeName(), c.type);
            EXPECT_EQ(error.what(), c.message);
            EXPECT_NE(error.address(), nullptr);
        }
    }
}

} // namespace
} // namespace hk
