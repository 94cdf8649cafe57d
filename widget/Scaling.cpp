#include "widget/Scaling.h"

#include <cstdint>
#include <limits>

namespace hk {

int mulDiv(int a, int b, int c) {
    if (c == 0) {
        return -1;
    }
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude = product < 0 ? -product : product;
    const std::int64_t divisor = c < 0 ? -static_cast<std::int64_t>(c) : c;
    const std::int64_t rounded = (magnitude + divisor / 2) / divisor;
    if (rounded > std::numeric_limits<int>::max()) {
        return -1;
    }
    return static_cast<int>(negative ? -rounded : rounded);
}

int formFontHeightAt(int storedHeight, int storedPpi, int screenPpi) {
    return screenPpi == storedPpi ? storedHeight : mulDiv(storedHeight, screenPpi, storedPpi);
}

int scaledLabelFontHeight(int storedHeight, int screenPpi, int textHeight, int storedTextHeight) {
    // Through points and back: each step rounds, and the widget's sizes depend on those roundings.
    const int points = -mulDiv(storedHeight, 72, screenPpi);
    const int scaledPoints = mulDiv(points, textHeight, storedTextHeight);
    return -mulDiv(scaledPoints, screenPpi, 72);
}

namespace {

// A label's edges are added and subtracted in the platform's 32-bit arithmetic, which wraps: a
// stored box may end past the int range.
int wrapped(std::int64_t value) {
    return static_cast<int>(static_cast<std::uint32_t>(value));
}

void scaleComponent(Component& component, int screenPpi, int textHeight, int storedTextHeight) {
    Box& box = component.box;
    const int left = mulDiv(box.left, textHeight, storedTextHeight);
    const int top = mulDiv(box.top, textHeight, storedTextHeight);
    if (component.kind == ComponentKind::Label) {
        const int right = wrapped(box.right());
        const int bottom = wrapped(box.bottom());
        box.width = wrapped(std::int64_t{mulDiv(right, textHeight, storedTextHeight)} - left);
        box.height = wrapped(std::int64_t{mulDiv(bottom, textHeight, storedTextHeight)} - top);
        component.font.height =
            scaledLabelFontHeight(component.font.height, screenPpi, textHeight, storedTextHeight);
    }
    box.left = left;
    box.top = top;
}

} // namespace

void scaleForm(FormDescription& form, int screenPpi, int textHeight) {
    const int stored = form.textHeight;
    if (textHeight == stored) {
        return;
    }
    for (Component& component : form.components) {
        scaleComponent(component, screenPpi, textHeight, stored);
    }
    form.clientWidth = mulDiv(form.clientWidth, textHeight, stored);
    form.clientHeight = mulDiv(form.clientHeight, textHeight, stored);
}

} // namespace hk
