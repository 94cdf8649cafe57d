#include "tools/formc/FormSource.h"

#include "tools/formc/FormRecords.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace hk {
namespace {

std::vector<std::uint8_t> threeByteFile(const std::filesystem::path& path) {
    if (path != "art/glyph.bmp") {
        throw std::runtime_error("cannot read " + path.string());
    }
    return {1, 2, 3};
}

TEST(FormSource, ParsesEveryValueTypeAndTheNesting) {
    const std::string source = "# the form\r\n"
                               "object Form1: TForm1\r\n"
                               "  Left = int16 -300\n"
                               "  Font.Height = int8 -11\n"
                               "  Font.Name = string \"MS Sans Serif\"\n"
                               "  Color = ident clBtnFace\n"
                               "  OldCreateOrder = false\n"
                               "  AutoSize = true\n"
                               "  Font.Style = set []\n"
                               "  Other.Style = set [fsBold, fsItalic]\n"
                               "  Caption = utf8 \"  сайт \"\n"
                               "\n"
                               "  object Image3: TImage\n"
                               "    Picture.Data = binary TPNGGraphic file \"art/glyph.bmp\"\n"
                               "  end\n"
                               "  object Label1: TLabel\n"
                               "  end\n"
                               "end\n";
    BinaryData payload = {11, 'T', 'P', 'N', 'G', 'G', 'r', 'a', 'p', 'h', 'i', 'c', 3, 0, 0, 0};
    payload.insert(payload.end(), {1, 2, 3});
    const ObjectRecord expected = {
        "TForm1",
        "Form1",
        {{"Left", std::int16_t{-300}},
         {"Font.Height", std::int8_t{-11}},
         {"Font.Name", std::string("MS Sans Serif")},
         {"Color", Identifier{"clBtnFace"}},
         {"OldCreateOrder", false},
         {"AutoSize", true},
         {"Font.Style", IdentifierSet{}},
         {"Other.Style", IdentifierSet{{"fsBold", "fsItalic"}}},
         {"Caption", Utf8Text{"  сайт "}}},
        {{"TImage", "Image3", {{"Picture.Data", payload}}, {}}, {"TLabel", "Label1", {}, {}}}};
    EXPECT_EQ(parseFormSource(source, threeByteFile), expected);
}

TEST(FormSource, MistakesAreReportedWithTheirLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"object F: T\n  Left = int8 128\nend\n", "line 2: 128 does not fit its integer type"},
        {"object F: T\n  Left = int16 -32769\nend\n",
         "line 2: -32769 does not fit its integer type"},
        {"object F: T\n  Left = int8 1x\nend\n", "line 2: \"1x\" is not a whole number"},
        {"object F: T\n  Name = string \"сайт\"\nend\n",
         "line 2: string values are stored as 8-bit text and must be ASCII; use utf8"},
        {"object F: T\n  Name = utf8 \"open\nend\n", "line 2: text has no closing '\"'"},
        {"object F: T\n  Left = int32 5\nend\n", "line 2: unknown value type int32"},
        {"object F: T\n  Left int8 5\nend\n", "line 2: expected '='"},
        {"object F: T\n  Left = int8 5 6\nend\n", "line 2: unexpected \"6\""},
        {"object F: T\n  P = binary TPNGGraphic file \"art/none.bmp\"\nend\n",
         "line 2: cannot read art/none.bmp"},
        {"object F: T\n  P = binary TPNGGraphic \"art/glyph.bmp\"\nend\n",
         "line 2: expected a word at \"\"art/glyph.bmp\"\""},
        {"object F: T\n  object C: T\n  end\n  Left = int8 1\nend\n",
         "line 4: property Left after the object's children"},
        {"Left = int8 1\n", "line 1: property Left outside an object"},
        {"object F: T\nend\nend\n", "line 3: text after the end of the form's object"},
        {"end\n", "line 1: end without an object"},
        {"object F: T\n  object C: T\nend\n", "line 3: object F has no end"},
        {"# nothing\n", "line 1: the source holds no object"},
    };
    for (const auto& [source, message] : cases) {
        try {
            parseFormSource(source, threeByteFile);
            ADD_FAILURE() << "no error for:\n" << source;
        } catch (const FormSourceError& error) {
            EXPECT_EQ(error.what(), message) << source;
        }
    }
}

} // namespace
} // namespace hk
