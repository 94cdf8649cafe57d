#pragma once

#include "widget/FormDescription.h"

#include <ostream>

namespace hk {

// Lets failing expectations show a box as its numbers rather than its bytes.
inline void PrintTo(const Box& box, std::ostream* out) {
    *out << "(" << box.left << ", " << box.top << ") " << box.width << "x" << box.height;
}

} // namespace hk
