#include "widget/FormLayout.h"

#include "tests/unit/StoredForm.h"
#include "tests/unit/WidgetLayout.h"

#include <gtest/gtest.h>
#include <limits>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace hk {
namespace {

FormDescription storedForm() {
    return readFormDescription(storedFormBytes());
}

// "0" is 13 pixels high in the form font at height -11 and `scaledZero` at any other height;
// text is 6 pixels a character and one line of the label font's height plus four.
struct FakeMetrics : LayoutMetrics {
    int scaledZero = 13;
    std::vector<int> zeroFontHeights;
    std::map<std::string, int> measuredFontHeight;

    int zeroHeight(const Font& font) override {
        zeroFontHeights.push_back(font.height);
        return font.height == -11 ? 13 : scaledZero;
    }
    TextSize measure(const Font& font, const std::string& text) override {
        measuredFontHeight[text] = font.height;
        return {6 * static_cast<int>(text.size()), 4 - font.height};
    }
};

std::string markConverted(const std::string& utf8) {
    return "ansi(" + utf8 + ")";
}

const std::vector<std::optional<PictureSize>> kPictureSizes = {
    PictureSize{202, 84}, {}, PictureSize{202, 21}, PictureSize{16, 16}, {}, {}, {}, {}};

std::vector<Box> boxes(const FormDescription& form) {
    std::vector<Box> result;
    for (const Component& c : form.components) {
        result.push_back(c.box);
    }
    return result;
}

TEST(FormLayout, At96PixelsPerInchOnlyTheSlotCaptionsTakeTheirMeasure) {
    FormDescription form = storedForm();
    FakeMetrics metrics;
    completeLayout(form, kPictureSizes, 96, markConverted, metrics);

    EXPECT_EQ(metrics.zeroFontHeights, std::vector<int>{-11});
    EXPECT_EQ(form.clientWidth, 202);
    EXPECT_EQ(form.clientHeight, 68);
    const std::vector<Box> expected = {
        {0, 0, 202, 84},  {68, 35, 30, 15}, {0, 0, 202, 21},  {184, 0, 16, 16},
        {68, 20, 30, 15}, {8, 56, 57, 13},  {72, 55, 33, 13}, {112, 55, 81, 13},
    };
    EXPECT_EQ(boxes(form), expected);
}

TEST(FormLayout, StoredUtf8CaptionsAloneAreConvertedToAnsi) {
    FormDescription form = storedForm();
    FakeMetrics metrics;
    completeLayout(form, kPictureSizes, 96, markConverted, metrics);

    const std::map<std::string, std::string> expected = {
        {"Label1", "Alt+M"},
        {"Label2", "Alt+N"},
        {"Label3", "ansi(   группа ВК   )"},
        {"Label4", "ansi(  сайт )"},
        {"Label5", "ansi(   by Ворбицкий)"},
    };
    for (const auto& [name, caption] : expected) {
        const Component* label = form.find(name);
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->caption, caption) << name;
        EXPECT_FALSE(label->captionIsUtf8) << name;
    }
}

TEST(FormLayout, At120PixelsPerInchTheFormGrowsAndTheSlotCaptionsMeasureInTheScaledFont) {
    FormDescription form = storedForm();
    FakeMetrics metrics;
    metrics.scaledZero = 16;
    completeLayout(form, kPictureSizes, 120, markConverted, metrics);

    EXPECT_EQ(metrics.zeroFontHeights, std::vector<int>{-14});
    EXPECT_EQ(form.clientWidth, 249);
    EXPECT_EQ(form.clientHeight, 84);
    EXPECT_EQ(form.left, 260);
    EXPECT_EQ(form.top, 227);
    const std::vector<Box> expected = {
        {0, 0, 202, 84},  {84, 43, 30, 19}, {0, 0, 202, 21},  {226, 0, 16, 16},
        {84, 25, 30, 19}, {10, 69, 70, 16}, {89, 68, 40, 16}, {138, 68, 100, 16},
    };
    EXPECT_EQ(boxes(form), expected);
    EXPECT_EQ(metrics.measuredFontHeight,
              (std::map<std::string, int>{{"Alt+M", -15}, {"Alt+N", -15}}));
}

TEST(FormLayout, APictureGivesItsSizeToItsControlAndNoPictureLeavesTheStoredOne) {
    FormDescription form = widgetLayout();
    form.components[0].box = {0, 0, 10, 10};
    form.components[0].autoSize = true;
    form.components[3].autoSize = true;
    form.components[2].autoSize = false;
    for (const char* name : {"Empty1", "Empty2"}) {
        form.components.push_back(layoutComponent(ComponentKind::Image, name, {5, 5, 16, 16}));
        form.components.back().autoSize = true;
    }
    std::vector<std::optional<PictureSize>> sizes(form.components.size());
    sizes[0] = PictureSize{202, 84};
    sizes[2] = PictureSize{50, 5}; // AutoSize off: the stored box stays
    sizes[8] = PictureSize{0, 40}; // an empty picture, like none, leaves the stored box
    sizes[9] = PictureSize{40, 0};
    FakeMetrics metrics;
    completeLayout(form, sizes, 96, markConverted, metrics);

    EXPECT_EQ(form.components[0].box, (Box{0, 0, 202, 84}));
    EXPECT_EQ(form.components[2].box, (Box{0, 0, 202, 21}));
    EXPECT_EQ(form.components[3].box, (Box{184, 0, 16, 16}));
    EXPECT_EQ(form.components[8].box, (Box{5, 5, 16, 16}));
    EXPECT_EQ(form.components[9].box, (Box{5, 5, 16, 16}));
}

TEST(FormLayout, PaintingAnAreaDrawsTheVisibleComponentsThatMeetItInCreationOrder) {
    FormDescription form = widgetLayout();
    struct Case {
        PixelRect area;
        std::vector<std::size_t> drawn;
    };
    const Case cases[] = {
        {{0, 0, 202, 68}, {0, 1, 2, 3, 4, 5, 6, 7}},
        {{68, 21, 96, 35}, {0, 4}},     // Label2 below the title strip
        {{68, 20, 69, 21}, {0, 2, 4}},  // the strip's last row is Label2's first
        {{193, 55, 202, 68}, {0}},      // right of Label5, which ends at column 192
        {{184, 0, 200, 16}, {0, 2, 3}}, // the close glyph over the strip
        {{65, 56, 72, 68}, {0}},        // the gap between Label3 and Label4
        {{0, 0, 0, 0}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(componentsToPaint(form.components, c.area), c.drawn)
            << c.area.left << "," << c.area.top;
    }
    form.components[3].visible = false;
    EXPECT_EQ(componentsToPaint(form.components, {184, 0, 200, 16}),
              (std::vector<std::size_t>{0, 2}));

    // A stored box may end past the largest int; it still meets an area at its far end. A box
    // with no width covers nothing, even where its left edge lies inside the area.
    constexpr int kLast = std::numeric_limits<int>::max();
    form.components[1].box = {kLast - 63, kLast - 63, 64, 64};
    EXPECT_EQ(componentsToPaint(form.components, {kLast - 1, kLast - 1, kLast, kLast}),
              (std::vector<std::size_t>{1}));
    form.components[0].box = {100, 10, -50, 20};
    EXPECT_EQ(componentsToPaint(form.components, {0, 0, 202, 68}),
              (std::vector<std::size_t>{2, 4, 5, 6, 7}));
}

// The clip is what the painter hands the platform: ints, whatever the box's far edges.
TEST(FormLayout, APaintedComponentIsClippedToThePartOfTheAreaItsBoxCovers) {
    struct Case {
        Box box;
        PixelRect area;
        PixelRect covered;
    };
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    const PixelRect client{0, 0, 202, 68};
    const Case cases[] = {
        {{68, 35, 30, 15}, client, {68, 35, 98, 50}},
        {{0, 0, 202, 84}, client, {0, 0, 202, 68}},        // past the bottom of the client area
        {{184, 0, kMax, kMax}, client, {184, 0, 202, 68}}, // a picture as big as it claims
        {{kMax - 63, kMax - 63, 64, 64},                   // ends past the largest int
         {kMax - 1, kMax - 1, kMax, kMax},
         {kMax - 1, kMax - 1, kMax, kMax}},
        {{kMax, kMax, kMax, 1}, client, {kMax, kMax, kMax, kMax}}, // beyond the area: empty
        {{kMin, 5, -10, 10}, client, {0, 5, 0, 15}},               // ends below the least int
        {{100, 10, -50, 20}, client, {100, 10, 100, 30}},          // no width: nothing
    };
    for (const Case& c : cases) {
        const PixelRect covered = coveredPart(c.box, c.area);
        EXPECT_EQ(std::tie(covered.left, covered.top, covered.right, covered.bottom),
                  std::tie(c.covered.left, c.covered.top, c.covered.right, c.covered.bottom))
            << c.box.left << "," << c.box.top << " " << c.box.width << "x" << c.box.height;
    }
}

TEST(FormLayout, SlotOneShowsInLabel2AndSlotTwoInLabel1) {
    const FormDescription form = widgetLayout();
    EXPECT_EQ(form.components[slotLabelIndex(form, 1)].name, "Label2");
    EXPECT_EQ(form.components[slotLabelIndex(form, 2)].name, "Label1");

    // A form whose Label2 is a picture has no place for slot one's caption.
    FormDescription picture = form;
    picture.components[slotLabelIndex(form, 1)].kind = ComponentKind::Image;
    EXPECT_THROW(slotLabelIndex(picture, 1), FormReadError);
}

} // namespace
} // namespace hk
