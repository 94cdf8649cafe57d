#pragma once

#include "form/FormDescription.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace hk {

struct TextSize {
    int width = 0;
    int height = 0;
};

// Measures text as the label draws it (left-aligned lines, expanded tabs, "&" prefixes).
using TextMeasure = std::function<TextSize(const std::string&)>;

// The text whose measure sizes a label: an empty caption or a lone "&" would measure as
// nothing, which would leave the label no height, so a single blank stands in.
std::string measuredText(const std::string& caption);

// Gives an auto-sized label the measure of its caption; its left and top stay.
void applyAutoSize(Component& label, const TextMeasure& measure);

// Sets a label's caption and returns what needs repainting: nothing when the text is unchanged,
// otherwise the old box and, when it differs, the new one.
std::vector<Box> setCaption(Component& label, const std::string& caption,
                            const TextMeasure& measure);

} // namespace hk
