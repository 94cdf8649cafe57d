#include "picture/PictureClasses.h"

#include "tests/unit/BitmapBytes.h"
#include "tools/picturefiles/PicturePayload.h"

#include <gtest/gtest.h>

namespace hk {
namespace {

// Stand-in readers that tell which class did the reading by the width they report.
DecodedBitmap readAsOne(ByteReader&) {
    DecodedBitmap bitmap;
    bitmap.header.width = 1;
    return bitmap;
}

DecodedBitmap readAsTwo(ByteReader&) {
    DecodedBitmap bitmap;
    bitmap.header.width = 2;
    return bitmap;
}

TEST(PictureClasses, FindsTheLastRegisteredClassOfExactlyThatName) {
    PictureClasses classes;
    const auto first = classes.add({"png", "TPNGGraphic", readAsOne});
    classes.add({"bmp", "TBitmap", readAsTwo});
    EXPECT_EQ(classes.find("TPNGGraphic")->read, readAsOne);
    EXPECT_EQ(classes.find("TPNGGraphic")->extension, "png");
    for (const char* other : {"TPngGraphic", "tpnggraphic", "TPNGGraphic ", "TPNG", ""}) {
        EXPECT_EQ(classes.find(other), nullptr) << other;
    }

    const auto second = classes.add({"png2", "TPNGGraphic", readAsTwo});
    EXPECT_EQ(classes.find("TPNGGraphic")->read, readAsTwo);
    classes.remove(second);
    EXPECT_EQ(classes.find("TPNGGraphic")->read, readAsOne);
    classes.remove(first);
    EXPECT_EQ(classes.find("TPNGGraphic"), nullptr);
    EXPECT_NE(classes.find("TBitmap"), nullptr);
}

TEST(PictureClasses, RegistrationLastsAsLongAsItsOwner) {
    PictureClasses classes;
    {
        PictureClassRegistration registration(classes, {"png", "TPNGGraphic", readAsOne});
        EXPECT_NE(classes.find("TPNGGraphic"), nullptr);
        {
            const PictureClassRegistration moved(std::move(registration));
            EXPECT_NE(classes.find("TPNGGraphic"), nullptr);
        }
        EXPECT_EQ(classes.find("TPNGGraphic"), nullptr) << "the new owner unregisters";
        classes.add({"png", "TPNGGraphic", readAsTwo});
    }
    ASSERT_NE(classes.find("TPNGGraphic"), nullptr) << "the moved-from owner removes nothing";
    EXPECT_EQ(classes.find("TPNGGraphic")->read, readAsTwo);
}

TEST(PictureClasses, PayloadIsReadByTheClassItNames) {
    PictureClasses classes;
    classes.add({"png", "TPNGGraphic", readBitmapPicture});
    const auto file = test::bitmapFileStart({.width = 1, .height = 1}).append({1, 2, 3, 4}).data;
    const auto payload = picturePayload("TPNGGraphic", file);
    const auto bitmap = readPicturePayload(payload, classes);
    ASSERT_TRUE(bitmap.has_value());
    EXPECT_TRUE(bitmap->is32Bit());
    EXPECT_EQ(bitmap->pixels, (std::vector<std::uint8_t>{1, 2, 3, 4}));
}

TEST(PictureClasses, UnknownClassGivesNoPictureAndLeavesTheRestUnread) {
    PictureClasses classes;
    classes.add({"png", "TPNGGraphic", readBitmapPicture});
    // The rest would fail reading, so reaching it would throw.
    const std::vector<std::uint8_t> notABitmap = {'X', 'Y', 0, 0};
    for (const char* name : {"TBitmap", "TPngGraphic", ""}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(readPicturePayload(picturePayload(name, notABitmap), classes).has_value());
    }
    EXPECT_THROW(readPicturePayload(picturePayload("TPNGGraphic", notABitmap), classes),
                 InvalidBitmap);
}

TEST(PictureClasses, PayloadCutInsideTheClassNameIsAReadError) {
    PictureClasses classes;
    const auto payload = picturePayload("TPNGGraphic", {});
    for (std::size_t length = 0; length < 12; ++length) {
        SCOPED_TRACE(length);
        const std::span<const std::uint8_t> cut(payload.data(), length);
        EXPECT_THROW(readPicturePayload(cut, classes), PictureReadError);
    }
}

} // namespace
} // namespace hk
