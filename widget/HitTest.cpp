#include "widget/HitTest.h"

namespace hk {
namespace {

bool holds(const Box& box, Point point) {
    return point.x >= box.left && point.x < box.right() && point.y >= box.top &&
           point.y < box.bottom();
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
