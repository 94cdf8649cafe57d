#include "form/FormDescription.h"
#include "tests/unit/StoredForm.h"
#include "tests/unit/WidgetLayout.h"
#include "tools/formc/FormRecords.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace hk {
namespace {

std::uint32_t le32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

TEST(FormResource, TheStoredFormIsTheWidgetWindow) {
    const FormDescription form = readFormDescription(storedFormBytes());
    EXPECT_EQ(form.name, "Form1");
    EXPECT_EQ(form.left, 260);
    EXPECT_EQ(form.top, 227);
    EXPECT_EQ(form.clientWidth, 202);
    EXPECT_EQ(form.clientHeight, 68);
    EXPECT_EQ(form.color, Colour::system(kSystemColourButtonFace));
    EXPECT_EQ(form.font, (Font{"MS Sans Serif", -11, Colour::system(kSystemColourWindowText),
                               kDefaultCharset, 0}));
    EXPECT_FALSE(form.oldCreateOrder);
    EXPECT_EQ(form.onCreate, Handler::FormCreate);
    EXPECT_EQ(form.pixelsPerInch, 96);
    EXPECT_EQ(form.textHeight, 13);
}

TEST(FormResource, TheStoredFormHoldsTheEightComponentsInCreationOrder) {
    using K = ComponentKind;
    struct Expected {
        const char* name;
        ComponentKind kind;
        Box box;
        bool autoSize;
        std::optional<Handler> onClick;
        std::optional<Handler> onMouseDown;
    };
    const Expected expected[] = {
        {"Image1", K::Image, {0, 0, 202, 84}, true, {}, {}},
        {"Label1", K::Label, {68, 35, 30, 15}, true, {}, {}},
        {"Image2", K::Image, {0, 0, 202, 21}, true, {}, Handler::Image2MouseDown},
        {"Image3", K::Image, {184, 0, 16, 16}, true, Handler::Image3Click, {}},
        {"Label2", K::Label, {68, 20, 28, 15}, true, {}, {}},
        {"Label3", K::Label, {8, 56, 57, 13}, false, Handler::Label3Click, {}},
        {"Label4", K::Label, {72, 55, 33, 13}, false, Handler::Label4Click, {}},
        {"Label5", K::Label, {112, 55, 81, 13}, false, Handler::Label5Click, {}},
    };
    const FormDescription form = readFormDescription(storedFormBytes());
    ASSERT_EQ(form.components.size(), std::size(expected));
    for (std::size_t i = 0; i < form.components.size(); ++i) {
        const Component& c = form.components[i];
        const Expected& e = expected[i];
        EXPECT_EQ(c.name, e.name);
        EXPECT_EQ(c.kind, e.kind) << e.name;
        EXPECT_EQ(c.box, e.box) << e.name;
        EXPECT_EQ(c.autoSize, e.autoSize) << e.name;
        EXPECT_EQ(c.onClick, e.onClick) << e.name;
        EXPECT_EQ(c.onMouseDown, e.onMouseDown) << e.name;
        EXPECT_TRUE(c.visible && c.enabled) << e.name;
    }
}

TEST(FormResource, SlotLabelsAreTransparentAndLinksAreBlackBoxesWithTheHand) {
    struct Expected {
        const char* name;
        std::string caption;
        bool utf8;
        const char* face;
        Colour color;
        bool transparent;
        Cursor cursor;
    };
    const Colour black = Colour::rgb(0, 0, 0);
    const Colour cream = Colour::rgb(255, 251, 240);
    const Expected expected[] = {
        {"Label1", "Alt+M", false, "Minion Pro", cream, true, Cursor::Arrow},
        {"Label2", "Alt+N", false, "Minion Pro", cream, true, Cursor::Arrow},
        {"Label3", "   группа ВК   ", true, "Myriad Pro", black, false, Cursor::HandPoint},
        {"Label4", "  сайт ", true, "Myriad Pro", black, false, Cursor::HandPoint},
        {"Label5", "   by Ворбицкий", true, "Myriad Pro", black, false, Cursor::HandPoint},
    };
    FormDescription form = readFormDescription(storedFormBytes());
    for (const Expected& e : expected) {
        const Component* label = form.find(e.name);
        ASSERT_NE(label, nullptr) << e.name;
        EXPECT_EQ(label->caption, e.caption) << e.name;
        EXPECT_EQ(label->captionIsUtf8, e.utf8) << e.name;
        EXPECT_EQ(label->font, (Font{e.face, -11, Colour::rgb(255, 255, 255), kDefaultCharset, 0}))
            << e.name;
        EXPECT_EQ(label->color, e.color) << e.name;
        EXPECT_EQ(label->transparent, e.transparent) << e.name;
        EXPECT_EQ(label->cursor, e.cursor) << e.name;
        EXPECT_FALSE(label->parentColor || label->parentFont) << e.name;
    }
}

TEST(FormResource, PicturePayloadsNameTheirClassAndCarryA32BitBitmapFile) {
    struct Expected {
        const char* name;
        std::size_t payload;
        std::int32_t width, height;
    };
    const Expected expected[] = {
        {"Image1", 67942, 202, 84}, {"Image2", 17038, 202, 21}, {"Image3", 1094, 16, 16}};
    FormDescription form = readFormDescription(storedFormBytes());
    for (const Expected& e : expected) {
        const std::vector<std::uint8_t>& data = form.find(e.name)->pictureData;
        ASSERT_EQ(data.size(), e.payload) << e.name;
        EXPECT_EQ(std::string(data.begin(), data.begin() + 12), "\x0bTPNGGraphic") << e.name;
        const std::size_t file = 16;
        EXPECT_EQ(le32(data, 12), e.payload - file) << e.name;
        EXPECT_EQ(std::string(data.begin() + file, data.begin() + file + 2), "BM") << e.name;
        EXPECT_EQ(le32(data, file + 18), static_cast<std::uint32_t>(e.width)) << e.name;
        EXPECT_EQ(le32(data, file + 22), static_cast<std::uint32_t>(e.height)) << e.name;
        EXPECT_EQ(data[file + 28], 32) << e.name;
    }
}

// Which value type each property is stored with, named as the owner's "Name.Property".
TEST(FormResource, EachPropertyIsStoredWithItsType) {
    const std::set<std::string> sixteenBit = {"Form1.Left",   "Form1.Top",    "Form1.ClientWidth",
                                              "Image1.Width", "Image2.Width", "Image3.Left"};
    const std::set<std::string> utf8 = {"Label3.Caption", "Label4.Caption", "Label5.Caption"};
    const std::set<std::string> eightBitText = {
        "Form1.Font.Name",  "Label1.Font.Name", "Label2.Font.Name", "Label3.Font.Name",
        "Label4.Font.Name", "Label5.Font.Name", "Label1.Caption",   "Label2.Caption"};

    const ObjectRecord root = readForm(storedFormBytes());
    std::vector<const ObjectRecord*> objects = {&root};
    for (const ObjectRecord& child : root.children) {
        objects.push_back(&child);
    }
    std::set<std::string> seenSixteenBit, seenUtf8, seenEightBitText;
    for (const ObjectRecord* object : objects) {
        for (const PropertyRecord& property : object->properties) {
            const std::string name = object->name + "." + property.name;
            if (std::holds_alternative<std::int16_t>(property.value)) {
                seenSixteenBit.insert(name);
            } else if (std::holds_alternative<Utf8Text>(property.value)) {
                seenUtf8.insert(name);
            } else if (std::holds_alternative<std::string>(property.value)) {
                seenEightBitText.insert(name);
            } else if (property.name == "Font.Style") {
                EXPECT_EQ(property.value, PropertyValue(IdentifierSet{})) << name;
            }
        }
    }
    EXPECT_EQ(seenSixteenBit, sixteenBit);
    EXPECT_EQ(seenUtf8, utf8);
    EXPECT_EQ(seenEightBitText, eightBitText);
}

} // namespace
} // namespace hk
