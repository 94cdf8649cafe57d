#include "widget/HitTest.h"

#include "tests/unit/WidgetLayout.h"

#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace hk {
namespace {

std::string nameAt(const FormDescription& form, Point point) {
    const auto hit = componentAt(form.components, point);
    return hit ? form.components[*hit].name : "nothing";
}

TEST(HitTest, TheTopmostComponentHoldingThePointTakesItAndGivesItsCursor) {
    struct Case {
        Point point;
        std::string expected;
        Cursor cursor;
    };
    const Cursor arrow = Cursor::Arrow;
    const Cursor hand = Cursor::HandPoint;
    const Case cases[] = {
        {{0, 0}, "Image2", arrow},    {{100, 20}, "Image2", arrow}, {{100, 21}, "Image1", arrow},
        {{184, 0}, "Image3", arrow},  {{199, 15}, "Image3", arrow}, {{200, 15}, "Image2", arrow},
        {{190, 16}, "Image2", arrow}, {{70, 20}, "Label2", arrow},  {{95, 34}, "Label2", arrow},
        {{96, 34}, "Image1", arrow},  {{70, 35}, "Label1", arrow},  {{8, 56}, "Label3", hand},
        {{64, 68}, "Label3", hand},   {{65, 60}, "Image1", arrow},  {{104, 67}, "Label4", hand},
        {{192, 55}, "Label5", hand},  {{201, 83}, "Image1", arrow}, {{202, 10}, "nothing", arrow},
        {{-1, 10}, "nothing", arrow}, {{10, 84}, "nothing", arrow},
    };
    const FormDescription form = widgetLayout();
    for (const Case& c : cases) {
        const std::string where = std::to_string(c.point.x) + "," + std::to_string(c.point.y);
        EXPECT_EQ(nameAt(form, c.point), c.expected) << where;
        EXPECT_EQ(cursorAt(form.components, c.point), c.cursor) << where;
    }
}

TEST(HitTest, HiddenOrDisabledComponentsLetThePointThrough) {
    FormDescription form = widgetLayout();
    named(form, "Label3").visible = false;
    named(form, "Image3").enabled = false;
    EXPECT_EQ(nameAt(form, {10, 60}), "Image1");
    EXPECT_EQ(cursorAt(form.components, {10, 60}), Cursor::Arrow);
    EXPECT_EQ(nameAt(form, {190, 5}), "Image2");
}

// A picture sizes its control, and a stored picture may claim any size: far edges summed in int
// would overflow.
TEST(HitTest, BoxesReachingTheIntLimitStillHoldTheirPoints) {
    constexpr int kMax = std::numeric_limits<int>::max();
    FormDescription form = widgetLayout();
    named(form, "Image3").box = {184, 0, kMax, kMax};
    EXPECT_EQ(nameAt(form, {190, 5}), "Image3");
    EXPECT_EQ(nameAt(form, {kMax - 1, kMax - 1}), "Image3");
    EXPECT_EQ(nameAt(form, {100, 5}), "Image2");
}

} // namespace
} // namespace hk
