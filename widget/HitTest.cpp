#include "widget/HitTest.h"

#include <cstdint>

namespace hk {
namespace {

// In 64 bits: a picture control takes its picture's size, which may reach past the int range.
bool holds(const Box& box, Point point) {
    const auto within = [](std::int64_t at, std::int64_t start, std::int64_t length) {
        return at >= start && at < start + length;
    };
    return within(point.x, box.left, box.width) && within(point.y, box.top, box.height);
}

} // namespace

std::optional<std::size_t> componentAt(const std::vector<Component>& components, Point point) {
    for (std::size_t i = components.size(); i-- > 0;) {
        const Component& c = components[i];
        if (c.visible && c.enabled && holds(c.box, point)) {
            return i;
        }
    }
    return std::nullopt;
}

Cursor cursorAt(const std::vector<Component>& components, Point point) {
    const auto hit = componentAt(components, point);
    return hit ? components[*hit].cursor : Cursor::Arrow;
}

} // namespace hk
