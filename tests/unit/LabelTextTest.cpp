#include "widget/LabelText.h"

#include "tests/unit/WidgetLayout.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace hk {
namespace {

TEST(LabelText, EmptyCaptionOrLoneAmpersandIsMeasuredAsABlank) {
    const std::pair<std::string, std::string> cases[] = {
        {"", " "},  {"&", " "}, {"&&", "&&"},       {"&a", "&a"},
        {"+", "+"}, {" ", " "}, {"Alt+N", "Alt+N"},
    };
    for (const auto& [caption, measured] : cases) {
        EXPECT_EQ(measuredText(caption), measured) << '"' << caption << '"';
    }
}

// Six pixels a character, one line: enough to tell one text's box from another's.
struct FakeMeasure {
    std::vector<std::string> measured;
    TextMeasure function() {
        return [this](const std::string& text) {
            measured.push_back(text);
            return TextSize{6 * static_cast<int>(text.size()), 13};
        };
    }
};

TEST(LabelText, ACaptionChangeRepaintsTheOldAndTheNewBoxOnly) {
    struct Case {
        const char* what;
        bool autoSize;
        std::string caption;
        std::vector<Box> repainted;
        Box after;
    };
    // The label starts as "Alt+N" measured: (68, 20) 30x13.
    const Case cases[] = {
        {"same text", true, "Alt+N", {}, {68, 20, 30, 13}},
        {"longer text", true, "Notepad+", {{68, 20, 30, 13}, {68, 20, 48, 13}}, {68, 20, 48, 13}},
        {"shorter text", true, "+", {{68, 20, 30, 13}, {68, 20, 6, 13}}, {68, 20, 6, 13}},
        {"empty text", true, "", {{68, 20, 30, 13}, {68, 20, 6, 13}}, {68, 20, 6, 13}},
        {"text of the same size", true, "Alt+X", {{68, 20, 30, 13}}, {68, 20, 30, 13}},
        {"fixed box", false, "much longer text", {{68, 20, 30, 13}}, {68, 20, 30, 13}},
    };
    for (const Case& c : cases) {
        Component label = layoutComponent(ComponentKind::Label, "Label2", {68, 20, 28, 15});
        label.caption = "Alt+N";
        label.autoSize = true;
        FakeMeasure measure;
        applyAutoSize(label, measure.function());
        label.autoSize = c.autoSize;

        EXPECT_EQ(setCaption(label, c.caption, measure.function()), c.repainted) << c.what;
        EXPECT_EQ(label.box, c.after) << c.what;
        EXPECT_EQ(label.caption, c.caption) << c.what;
    }
}

TEST(LabelText, AnUnchangedCaptionIsNotMeasuredAgain) {
    Component label = layoutComponent(ComponentKind::Label, "Label1", {68, 35, 30, 15});
    label.autoSize = true;
    label.caption = "Alt+M";
    FakeMeasure measure;
    setCaption(label, "Alt+M", measure.function());
    setCaption(label, "", measure.function());
    EXPECT_EQ(measure.measured, std::vector<std::string>{" "});
}

} // namespace
} // namespace hk
