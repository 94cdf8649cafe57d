#pragma once

#include "form/FormDescription.h"
#include "widget/HitTest.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace hk {

enum class MouseButton { Left, Right, Middle };

// What the form does about one button press.
struct PressAction {
    // A component took the press, so the form keeps the mouse until the button is released.
    bool capture = false;
    std::optional<Handler> handler;
};

// Follows the mouse buttons over the form's windowless components: which component takes a
// press, when a press and a release make a click, and which handler each of them runs.
class MouseRouter {
public:
    // A button went down at a client point; a double-click press counts as a press.
    PressAction press(const std::vector<Component>& components, MouseButton button, Point point);
    // A button went up; the click handler to run when this release completes a click.
    std::optional<Handler> release(const std::vector<Component>& components, MouseButton button,
                                   Point point);
    // The form lost the mouse capture: the press held so far can no longer become a click.
    void cancel() { pressed.reset(); }

private:
    std::optional<std::size_t> pressed; // the component under a left press not yet released
};

} // namespace hk
