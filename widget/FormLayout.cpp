#include "widget/FormLayout.h"

#include "base/Error.h"
#include "widget/Scaling.h"

#include <algorithm>
#include <cstdint>

namespace hk {
namespace {

void convertCaptions(FormDescription& form,
                     const std::function<std::string(const std::string&)>& toAnsi) {
    for (Component& component : form.components) {
        if (component.kind == ComponentKind::Label && component.captionIsUtf8) {
            component.caption = toAnsi(component.caption);
            component.captionIsUtf8 = false;
        }
    }
}

// The stored size of a picture control is only a placeholder: with AutoSize the picture's own
// size replaces it for good, before scaling, which then only moves the control. An empty
// picture leaves the control its stored size.
void sizePictures(FormDescription& form, std::span<const std::optional<PictureSize>> sizes) {
    for (std::size_t i = 0; i < form.components.size() && i < sizes.size(); ++i) {
        Component& component = form.components[i];
        if (component.kind == ComponentKind::Image && component.autoSize && sizes[i] &&
            sizes[i]->width > 0 && sizes[i]->height > 0) {
            component.box.width = sizes[i]->width;
            component.box.height = sizes[i]->height;
        }
    }
}

void scaleToDisplay(FormDescription& form, int screenPpi, LayoutMetrics& metrics) {
    form.font.height = formFontHeightAt(form.font.height, form.pixelsPerInch, screenPpi);
    scaleForm(form, screenPpi, metrics.zeroHeight(form.font));
}

void measureLabels(FormDescription& form, LayoutMetrics& metrics) {
    for (Component& component : form.components) {
        if (component.kind == ComponentKind::Label) {
            applyAutoSize(component, [&](const std::string& text) {
                return metrics.measure(component.font, text);
            });
        }
    }
}

bool isEmpty(const PixelRect& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

// A covered part's far edge: the nearer of the box's and the area's, never before its near edge.
int nearerEnd(int start, std::int64_t boxEnd, int areaEnd) {
    return static_cast<int>(std::max<std::int64_t>(start, std::min<std::int64_t>(boxEnd, areaEnd)));
}

} // namespace

void completeLayout(FormDescription& form, std::span<const std::optional<PictureSize>> pictureSizes,
                    int screenPpi, const std::function<std::string(const std::string&)>& toAnsi,
                    LayoutMetrics& metrics) {
    convertCaptions(form, toAnsi);
    sizePictures(form, pictureSizes);
    scaleToDisplay(form, screenPpi, metrics);
    measureLabels(form, metrics);
}

PixelRect coveredPart(const Box& box, const PixelRect& area) {
    const int left = std::max(box.left, area.left);
    const int top = std::max(box.top, area.top);
    return {left, top, nearerEnd(left, box.right(), area.right),
            nearerEnd(top, box.bottom(), area.bottom)};
}

std::vector<std::size_t> componentsToPaint(const std::vector<Component>& components,
                                           const PixelRect& area) {
    std::vector<std::size_t> drawn;
    for (std::size_t i = 0; i < components.size(); ++i) {
        if (components[i].visible && !isEmpty(coveredPart(components[i].box, area))) {
            drawn.push_back(i);
        }
    }
    return drawn;
}

std::size_t slotLabelIndex(const FormDescription& form, int slot) {
    const Component* label = form.find(slot == 1 ? "Label2" : "Label1");
    if (label != nullptr && label->kind == ComponentKind::Label) {
        return static_cast<std::size_t>(label - form.components.data());
    }
    raise<FormReadError>("The form has no label for target slot " + std::to_string(slot));
}

} // namespace hk
