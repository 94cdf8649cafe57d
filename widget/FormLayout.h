#pragma once

#include "base/PixelRect.h"
#include "form/FormDescription.h"
#include "widget/LabelText.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace hk {

// What the layout asks of the display while the form is completed.
class LayoutMetrics {
public:
    virtual ~LayoutMetrics() = default;
    // The height of the text "0" in a font: the yardstick of the scaling rule.
    virtual int zeroHeight(const Font& font) = 0;
    // A label's text measured as the label draws it, in the label's font.
    virtual TextSize measure(const Font& font, const std::string& text) = 0;
};

struct PictureSize {
    int width = 0;
    int height = 0;
};

// Completes a form whose description has been read: stored UTF-8 captions become 8-bit text,
// auto-sized picture controls take their picture's size, the layout follows the display's
// resolution, and auto-sized labels take the measure of their captions. `pictureSizes` runs
// parallel to the components; an entry without a value is a control without a picture, and an
// empty picture, like none, leaves its control the stored size.
void completeLayout(FormDescription& form, std::span<const std::optional<PictureSize>> pictureSizes,
                    int screenPpi, const std::function<std::string(const std::string&)>& toAnsi,
                    LayoutMetrics& metrics);

// The part of `area` that a box covers: where painting clips the box's component, and what a
// changed box repaints. Each of its edges is one of the area's or the box's, clamped by the
// area, so it fits the platform's 32-bit rectangle whatever the box's far edges. It is empty
// (right == left or bottom == top) when the two do not meet; a box with no width or height
// covers nothing, as it holds no point for the mouse.
PixelRect coveredPart(const Box& box, const PixelRect& area);

// The components that painting an area draws: visible ones that cover part of it, in creation
// order. Indexes into form.components.
std::vector<std::size_t> componentsToPaint(const std::vector<Component>& components,
                                           const PixelRect& area);

// The index of the label that shows a target slot's caption: Label2 for slot 1, Label1 for
// slot 2.
std::size_t slotLabelIndex(const FormDescription& form, int slot);

} // namespace hk
