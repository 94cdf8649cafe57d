#include "form/FormReader.h"

#include "tools/bytewriter/ByteWriter.h"
#include "tools/formc/FormRecords.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace hk {
namespace {

// Writes stored form bytes by hand, record by record.
class Bytes {
public:
    Bytes& raw(std::initializer_list<std::uint8_t> bytes) {
        writer.append(bytes);
        return *this;
    }
    Bytes& text(std::string_view text) {
        writer.text(text);
        return *this;
    }
    Bytes& shortString(std::string_view value) {
        writer.u8(static_cast<std::uint8_t>(value.size())).text(value);
        return *this;
    }
    Bytes& u32(std::uint32_t value) {
        writer.u32(value);
        return *this;
    }
    Bytes& object(std::string_view className, std::string_view name) {
        return shortString(className).shortString(name);
    }
    Bytes& end() { return raw({0}); }

    const std::vector<std::uint8_t>& data() const { return writer.data; }

private:
    ByteWriter writer;
};

std::string readError(const std::vector<std::uint8_t>& bytes) {
    try {
        readForm(bytes);
    } catch (const FormReadError& error) {
        return error.what();
    }
    return "no error";
}

// A form with one property of every type byte and two children, one of them with a child.
Bytes sampleForm() {
    Bytes b;
    b.text("TPF0").object("TForm1", "Form1");
    b.shortString("Left").raw({3, 0x04, 0x01});
    b.shortString("Font.Height").raw({2, 0xF5});
    b.shortString("Font.Name").raw({6}).shortString("MS Sans Serif");
    b.shortString("Color").raw({7}).shortString("clBtnFace");
    b.shortString("OldCreateOrder").raw({8});
    b.shortString("AutoSize").raw({9});
    b.shortString("Picture.Data").raw({10}).u32(3).raw({0xAA, 0x00, 0xBB});
    b.shortString("Font.Style").raw({11}).shortString("fsBold").shortString("fsItalic").end();
    b.shortString("Caption").raw({20}).u32(8).text("сайт");
    b.end(); // the form's properties
    b.object("TImage", "Image1").shortString("Top").raw({2, 0x80}).end().end();
    b.object("TPanel", "Panel1").end();
    b.object("TLabel", "Label1").end().end();
    b.end(); // Panel1's children
    b.end(); // the form's children
    return b;
}

TEST(FormReader, ReadsEveryValueTypeAndTheNesting) {
    const ObjectRecord form = readForm(sampleForm().data());

    const std::vector<PropertyRecord> expected = {
        {"Left", std::int16_t{260}},
        {"Font.Height", std::int8_t{-11}},
        {"Font.Name", std::string("MS Sans Serif")},
        {"Color", Identifier{"clBtnFace"}},
        {"OldCreateOrder", false},
        {"AutoSize", true},
        {"Picture.Data", BinaryData{0xAA, 0x00, 0xBB}},
        {"Font.Style", IdentifierSet{{"fsBold", "fsItalic"}}},
        {"Caption", Utf8Text{"сайт"}},
    };
    EXPECT_EQ(form.className, "TForm1");
    EXPECT_EQ(form.name, "Form1");
    EXPECT_EQ(form.properties, expected);

    const std::vector<ObjectRecord> children = {
        {"TImage", "Image1", {{"Top", std::int8_t{-128}}}, {}},
        {"TPanel", "Panel1", {}, {{"TLabel", "Label1", {}, {}}}},
    };
    EXPECT_EQ(form.children, children);
}

TEST(FormReader, EmptyValuesAreReadAsEmpty) {
    Bytes b;
    b.text("TPF0").object("TForm1", "Form1");
    b.shortString("Font.Style").raw({11, 0});
    b.shortString("Picture.Data").raw({10}).u32(0);
    b.shortString("Caption").raw({20}).u32(0);
    b.shortString("Hint").raw({6, 0});
    b.end().end();

    const std::vector<PropertyRecord> expected = {
        {"Font.Style", IdentifierSet{}},
        {"Picture.Data", BinaryData{}},
        {"Caption", Utf8Text{}},
        {"Hint", std::string()},
    };
    EXPECT_EQ(readForm(b.data()).properties, expected);
}

TEST(FormReader, EveryTruncationIsAReadingError) {
    const std::vector<std::uint8_t> whole = sampleForm().data();
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + length);
        EXPECT_THROW(readForm(cut), FormReadError) << "cut after " << length << " bytes";
    }
}

TEST(FormReader, MalformedBytesGiveAClearMessage) {
    const auto withProperty = [](std::initializer_list<std::uint8_t> record) {
        Bytes b;
        b.text("TPF0").object("TForm1", "Form1").shortString("Left").raw(record).end().end();
        return b.data();
    };
    Bytes deep;
    deep.text("TPF0");
    for (int i = 0; i < 40; ++i) {
        deep.object("TPanel", "P").end();
    }
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::string message;
    };
    const Case cases[] = {
        {"wrong signature", Bytes().text("TPF1").object("TForm1", "Form1").end().end().data(),
         "Form description does not start with \"TPF0\""},
        {"unknown type byte", withProperty({5, 1, 2, 3, 4}),
         "Form description has an unknown value type 5 for Left (at byte 22)"},
        {"object-prefix flag", withProperty({0xF1}),
         "Form description has an unknown value type 241 for Left (at byte 22)"},
        {"byte after the form",
         Bytes().text("TPF0").object("TForm1", "Form1").end().end().raw({0}).data(),
         "Form description has 1 bytes after the form's record"},
        {"binary longer than the rest", withProperty({10, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0}),
         "Form description ends early (at byte 23)"},
        {"utf-8 text longer than the rest", withProperty({20, 9, 0, 0, 0, 'a', 0}),
         "Form description ends early (at byte 23)"},
        {"objects nested without end", deep.data(), "Form description nests objects too deeply"},
        {"form without a class name", Bytes().text("TPF0").raw({0, 0, 0, 0}).data(),
         "Form description has an object without a class name (at byte 4)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(readError(c.bytes), c.message) << c.what;
    }
}

} // namespace
} // namespace hk
