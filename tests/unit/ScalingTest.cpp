#include "widget/Scaling.h"

#include "tests/unit/WidgetLayout.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>

namespace hk {
namespace {

TEST(Scaling, MulDivRoundsToNearestWithHalvesAwayFromZero) {
    struct Case {
        int a, b, c, expected;
    };
    const Case cases[] = {
        {5, 1, 4, 1},
        {6, 1, 4, 2},
        {7, 1, 4, 2},
        {-6, 1, 4, -2},
        {6, -1, 4, -2},
        {6, 1, -4, -2},
        {-6, -1, -4, -2},
        {-5, 1, 4, -1},
        {-11, 120, 96, -14},
        {-11, 72, 120, -7},
        {202, 16, 13, 249},
        {184, 16, 13, 226},
        {193, 16, 13, 238},
        {68, 16, 13, 84},
        {0, 5, 7, 0},
        {65536, 65536, 65536, 65536},
        {INT_MAX, 2, 2, INT_MAX},
        {INT_MAX, 2, 1, -1},
        {INT_MIN, 1, 1, -1},
        {7, 7, 0, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mulDiv(c.a, c.b, c.c), c.expected)
            << "MulDiv(" << c.a << ", " << c.b << ", " << c.c << ")";
    }
}

TEST(Scaling, FormFontFollowsTheScreenResolutionOnlyWhenItDiffers) {
    EXPECT_EQ(formFontHeightAt(-11, 96, 96), -11);
    EXPECT_EQ(formFontHeightAt(-11, 96, 120), -14);
    EXPECT_EQ(formFontHeightAt(-11, 96, 144), -17); // -16.5 goes away from zero
}

TEST(Scaling, At120PixelsPerInchTheLayoutGrowsBySixteenThirteenths) {
    FormDescription form = widgetLayout();
    scaleForm(form, 120, 16);

    EXPECT_EQ(form.clientWidth, 249);
    EXPECT_EQ(form.clientHeight, 84);
    const Box expected[] = {
        {0, 0, 202, 84},  // pictures keep their size and only move
        {84, 43, 37, 19}, // re-measured after scaling, so the size is only provisional
        {0, 0, 202, 21},  {226, 0, 16, 16}, {84, 25, 34, 18},
        {10, 69, 70, 16}, {89, 68, 40, 16}, {138, 68, 100, 16},
    };
    for (std::size_t i = 0; i < form.components.size(); ++i) {
        const Component& c = form.components[i];
        EXPECT_EQ(c.box, expected[i]) << c.name;
        if (c.kind == ComponentKind::Label) {
            EXPECT_EQ(c.font.height, -15) << c.name;
        }
    }
}

TEST(Scaling, AMeasureEqualToTheStoredOneChangesNothing) {
    for (const int ppi : {96, 120}) {
        FormDescription form = widgetLayout();
        scaleForm(form, ppi, 13);
        EXPECT_EQ(form.clientWidth, 202);
        EXPECT_EQ(form.clientHeight, 68);
        const FormDescription stored = widgetLayout();
        for (std::size_t i = 0; i < form.components.size(); ++i) {
            EXPECT_EQ(form.components[i].box, stored.components[i].box) << ppi;
            EXPECT_EQ(form.components[i].font.height, -11) << ppi;
        }
    }
}

// A label's far edge past the int range wraps, as the platform's 32-bit arithmetic does, before it
// is scaled; its width is the difference of the scaled edges, wrapped again.
TEST(Scaling, ALabelEndingPastTheIntRangeScalesItsWrappedFarEdge) {
    struct Case {
        Box stored;
        Box scaled;
    };
    const Case cases[] = {
        {{INT_MAX - 10, 0, 20, 13}, {1651910490, 0, 991146314, 10}},
        {{INT_MIN + 5, 0, -20, 13}, {-1651910495, 0, -991146314, 10}},
    };
    for (const Case& c : cases) {
        FormDescription form = widgetLayout();
        named(form, "Label1").box = c.stored;
        scaleForm(form, 96, 10);
        EXPECT_EQ(named(form, "Label1").box, c.scaled) << c.stored.left;
    }
}

} // namespace
} // namespace hk
