#pragma once

#include "form/FormDescription.h"

#include <optional>
#include <vector>

namespace hk {

struct Point {
    int x = 0;
    int y = 0;
};

// The index of the component that takes the mouse at a client point: the last in creation order
// (the topmost) that is visible, enabled and whose box holds the point. A picture's transparent
// pixels count as part of it.
std::optional<std::size_t> componentAt(const std::vector<Component>& components, Point point);

// The cursor over a client point: the Cursor of the component there, the arrow elsewhere.
Cursor cursorAt(const std::vector<Component>& components, Point point);

} // namespace hk
