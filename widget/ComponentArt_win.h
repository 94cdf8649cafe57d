#pragma once

#include "picture/PngGraphic_win.h"
#include "platform/UniqueHandle_win.h"

#include <memory>

namespace hk {

// What the shell holds beside a component to draw it: a picture control's picture (none when
// its payload named no registered class) or a label's font.
struct ComponentArt {
    std::unique_ptr<TPNGGraphic> picture;
    UniqueFont font;
};

} // namespace hk
