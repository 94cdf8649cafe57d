#include "form/FormDescription.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace hk {
namespace {

PropertyRecord id(std::string name, std::string identifier) {
    return {std::move(name), Identifier{std::move(identifier)}};
}

ObjectRecord smallForm() {
    return {"TForm1",
            "Form1",
            {
                {"Left", std::int16_t{260}},
                {"Top", std::int16_t{227}},
                id("BorderStyle", "bsNone"),
                {"ClientHeight", std::int8_t{68}},
                {"ClientWidth", std::int16_t{202}},
                id("Color", "clBtnFace"),
                id("Font.Charset", "DEFAULT_CHARSET"),
                id("Font.Color", "clWindowText"),
                {"Font.Height", std::int8_t{-11}},
                {"Font.Name", std::string("Form Face")},
                {"Font.Style", IdentifierSet{}},
                {"OldCreateOrder", false},
                id("OnCreate", "FormCreate"),
                {"PixelsPerInch", std::int8_t{96}},
                {"TextHeight", std::int8_t{13}},
            },
            {
                {"TImage",
                 "Image3",
                 {
                     {"Left", std::int16_t{184}},
                     {"Top", std::int8_t{0}},
                     {"Width", std::int8_t{16}},
                     {"Height", std::int8_t{16}},
                     {"AutoSize", true},
                     {"Picture.Data", BinaryData{11, 'T', 'P'}},
                     {"Transparent", true},
                     {"Stretch", true},
                     id("OnClick", "Image3Click"),
                 },
                 {}},
                {"TLabel",
                 "Label4",
                 {
                     {"Left", std::int8_t{72}},
                     {"Top", std::int8_t{55}},
                     {"Width", std::int8_t{33}},
                     {"Height", std::int8_t{13}},
                     {"AutoSize", false},
                     {"Caption", Utf8Text{"  сайт "}},
                     id("Color", "clBlack"),
                     id("Cursor", "crHandPoint"),
                     id("Font.Color", "clWhite"),
                     {"Font.Height", std::int8_t{-12}},
                     {"Font.Name", std::string("Link Face")},
                     {"Font.Style", IdentifierSet{{"fsBold", "fsUnderline"}}},
                     {"ParentColor", false},
                     {"ParentFont", false},
                     id("OnClick", "Label4Click"),
                 },
                 {}},
                {"TLabel",
                 "Label2",
                 {{"Caption", std::string("Alt+N")},
                  {"Transparent", true},
                  {"Visible", false},
                  {"Enabled", false}},
                 {}},
            }};
}

TEST(FormDescription, BuildsTheFormAndItsComponentsInCreationOrder) {
    const FormDescription form = buildForm(smallForm());

    EXPECT_EQ(form.name, "Form1");
    EXPECT_EQ(form.left, 260);
    EXPECT_EQ(form.top, 227);
    EXPECT_EQ(form.clientWidth, 202);
    EXPECT_EQ(form.clientHeight, 68);
    EXPECT_EQ(form.color, Colour::system(kSystemColourButtonFace));
    EXPECT_EQ(form.font, (Font{"Form Face", -11, Colour::system(kSystemColourWindowText),
                               kDefaultCharset, 0}));
    EXPECT_EQ(form.onCreate, Handler::FormCreate);
    EXPECT_EQ(form.pixelsPerInch, 96);
    EXPECT_EQ(form.textHeight, 13);
    ASSERT_EQ(form.components.size(), 3u);

    const Component& image = form.components[0];
    EXPECT_EQ(image.kind, ComponentKind::Image);
    EXPECT_EQ(image.name, "Image3");
    EXPECT_EQ(image.box, (Box{184, 0, 16, 16}));
    EXPECT_TRUE(image.autoSize);
    EXPECT_EQ(image.pictureData, (BinaryData{11, 'T', 'P'}));
    EXPECT_TRUE(image.transparent);
    EXPECT_TRUE(image.stretch);
    EXPECT_EQ(image.onClick, Handler::Image3Click);
    EXPECT_EQ(image.cursor, Cursor::Arrow);

    const Component& link = form.components[1];
    EXPECT_EQ(link.kind, ComponentKind::Label);
    EXPECT_EQ(link.box, (Box{72, 55, 33, 13}));
    EXPECT_FALSE(link.autoSize);
    EXPECT_EQ(link.caption, "  сайт ");
    EXPECT_TRUE(link.captionIsUtf8);
    EXPECT_EQ(link.color, Colour::rgb(0, 0, 0));
    EXPECT_FALSE(link.transparent) << "not stored, so opaque";
    EXPECT_EQ(link.cursor, Cursor::HandPoint);
    EXPECT_EQ(link.font, (Font{"Link Face", -12, Colour::rgb(255, 255, 255), kDefaultCharset,
                               fontstyle::kBold | fontstyle::kUnderline}));
    EXPECT_EQ(link.onClick, Handler::Label4Click);
    EXPECT_TRUE(link.enabled);
    EXPECT_FALSE(link.stretch);
    EXPECT_FALSE(link.onMouseDown.has_value());

    const Component& slot = form.components[2];
    EXPECT_TRUE(slot.autoSize) << "a label sizes itself unless told otherwise";
    EXPECT_EQ(slot.caption, "Alt+N");
    EXPECT_FALSE(slot.captionIsUtf8);
    EXPECT_TRUE(slot.transparent);
    EXPECT_FALSE(slot.visible);
    EXPECT_FALSE(slot.enabled);
    EXPECT_EQ(slot.font, form.font) << "a label with a parent font draws with the form's";
    EXPECT_EQ(slot.color, form.color);
}

TEST(FormDescription, WhatItCannotPlaceIsAReadingError) {
    struct Case {
        const char* what;
        void (*change)(ObjectRecord&);
        std::string message;
    };
    const Case cases[] = {
        {"another form class", [](ObjectRecord& f) { f.className = "TForm2"; },
         "the form is of class TForm2, not TForm1"},
        {"unknown form property",
         [](ObjectRecord& f) {
             f.properties.push_back({"Caption", std::string("x")});
         },
         "Form1 has no property Caption"},
        {"framed window", [](ObjectRecord& f) { f.properties[2] = id("BorderStyle", "bsSingle"); },
         "Form1.BorderStyle must be bsNone"},
        {"integer stored as text",
         [](ObjectRecord& f) {
             f.properties[0] = {"Left", std::string("260")};
         },
         "Form1.Left holds a value of the wrong type"},
        {"unknown colour", [](ObjectRecord& f) { f.properties[5] = id("Color", "clFuchsia"); },
         "Form1.Color names an unknown value clFuchsia"},
        {"unknown handler",
         [](ObjectRecord& f) { f.properties[12] = id("OnCreate", "FormDestroy"); },
         "Form1.OnCreate names an unknown value FormDestroy"},
        {"unknown font style",
         [](ObjectRecord& f) {
             f.properties[10] = {"Font.Style", IdentifierSet{{"fsWide"}}};
         },
         "Form1.Font.Style names an unknown value fsWide"},
        {"unknown component class", [](ObjectRecord& f) { f.children[0].className = "TPanel"; },
         "Image3 is of an unknown class TPanel"},
        {"caption on a picture",
         [](ObjectRecord& f) {
             f.children[0].properties.push_back({"Caption", std::string()});
         },
         "Image3 has no property Caption"},
        {"picture on a label",
         [](ObjectRecord& f) {
             f.children[1].properties.push_back({"Picture.Data", BinaryData{}});
         },
         "Label4 has no property Picture.Data"},
        {"stretched label",
         [](ObjectRecord& f) {
             f.children[1].properties.push_back({"Stretch", true});
         },
         "Label4 has no property Stretch"},
        {"unknown cursor",
         [](ObjectRecord& f) { f.children[1].properties[7] = id("Cursor", "crCross"); },
         "Label4.Cursor names an unknown value crCross"},
        {"handler named as text",
         [](ObjectRecord& f) {
             f.children[1].properties.back() = {"OnClick", std::string("Label4Click")};
         },
         "Label4.OnClick holds a value of the wrong type"},
        {"component holding components",
         [](ObjectRecord& f) {
             f.children[2].children.push_back({"TLabel", "Inner", {}, {}});
         },
         "Label2 holds objects of its own"},
    };
    for (const Case& c : cases) {
        ObjectRecord root = smallForm();
        c.change(root);
        try {
            buildForm(root);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const FormReadError& error) {
            EXPECT_EQ(error.what(), "Form description: " + c.message) << c.what;
        }
    }
}

} // namespace
} // namespace hk
