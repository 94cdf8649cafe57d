#include "widget/LabelText.h"

namespace hk {

std::string measuredText(const std::string& caption) {
    return caption.empty() || caption == "&" ? " " : caption;
}

void applyAutoSize(Component& label, const TextMeasure& measure) {
    if (!label.autoSize) {
        return;
    }
    const TextSize size = measure(measuredText(label.caption));
    label.box.width = size.width;
    label.box.height = size.height;
}

std::vector<Box> setCaption(Component& label, const std::string& caption,
                            const TextMeasure& measure) {
    if (caption == label.caption) {
        return {};
    }
    const Box old = label.box;
    label.caption = caption;
    label.captionIsUtf8 = false;
    applyAutoSize(label, measure);
    if (label.box == old) {
        return {old};
    }
    return {old, label.box};
}

} // namespace hk
