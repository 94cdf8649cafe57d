#include "widget/MouseRouter.h"

namespace hk {

PressAction MouseRouter::press(const std::vector<Component>& components, MouseButton button,
                               Point point) {
    const auto target = componentAt(components, point);
    if (button == MouseButton::Left) {
        pressed = target;
    }
    if (!target) {
        return {};
    }
    return {true, components[*target].onMouseDown};
}

std::optional<Handler> MouseRouter::release(const std::vector<Component>& components,
                                            MouseButton button, Point point) {
    if (button != MouseButton::Left) {
        return std::nullopt;
    }
    const auto target = componentAt(components, point);
    const auto wasPressed = pressed;
    pressed.reset();
    if (!wasPressed || target != wasPressed) {
        return std::nullopt;
    }
    return components[*target].onClick;
}

} // namespace hk
