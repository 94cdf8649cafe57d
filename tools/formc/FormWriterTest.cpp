#include "tools/formc/FormWriter.h"

#include "tools/formc/FormRecords.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace hk {
namespace {

TEST(FormWriter, WritesTheStoredLayoutByteForByte) {
    const ObjectRecord root = {"TF",
                               "F",
                               {{"L", std::int16_t{-2}},
                                {"H", std::int8_t{-11}},
                                {"N", std::string("ab")},
                                {"C", Identifier{"cl"}},
                                {"O", false},
                                {"A", true},
                                {"P", BinaryData{7, 8}},
                                {"S", IdentifierSet{{"fs"}}},
                                {"T", Utf8Text{"й"}}},
                               {{"TI", "I", {}, {}}}};
    const std::vector<std::uint8_t> expected = {
        'T', 'P', 'F', '0',  2,    'T', 'F', 1,    'F',  // header, names
        1,   'L', 3,   0xFE, 0xFF, 1,   'H', 2,    0xF5, // integers
        1,   'N', 6,   2,    'a',  'b', 1,   'C',  7,
        2,   'c', 'l', 1,    'O',  8,   1,   'A',  9,    // texts, booleans
        1,   'P', 10,  2,    0,    0,   0,   7,    8,    // binary
        1,   'S', 11,  2,    'f',  's', 0,               // set
        1,   'T', 20,  2,    0,    0,   0,   0xD0, 0xB9, // UTF-8
        0,                                               // end of properties
        2,   'T', 'I', 1,    'I',  0,   0,               // the child
        0,                                               // end of children
    };
    EXPECT_EQ(writeForm(root), expected);
}

TEST(FormWriter, WhatItWritesReadsBackAsTheSameTree) {
    const ObjectRecord root = {
        "TForm1",
        "Form1",
        {{"Left", std::int16_t{260}}, {"Font.Style", IdentifierSet{}}, {"Caption", Utf8Text{}}},
        {{"TImage", "Image1", {{"Picture.Data", BinaryData(70000, 0x5A)}}, {}},
         {"TLabel", "Label1", {{"Caption", std::string("Alt+M")}, {"Visible", false}}, {}}}};
    EXPECT_EQ(readForm(writeForm(root)), root);
}

TEST(FormWriter, RefusesWhatTheStoredLayoutCannotHold) {
    const ObjectRecord tooLong = {"TForm1", "Form1", {{"Hint", std::string(256, 'x')}}, {}};
    EXPECT_THROW(writeForm(tooLong), FormReadError);
    const ObjectRecord emptyName = {"TForm1", "Form1", {{"", true}}, {}};
    EXPECT_THROW(writeForm(emptyName), FormReadError);
    const ObjectRecord emptySetEntry = {"TForm1", "Form1", {{"S", IdentifierSet{{""}}}}, {}};
    EXPECT_THROW(writeForm(emptySetEntry), FormReadError);
}

} // namespace
} // namespace hk
