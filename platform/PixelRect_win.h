#pragma once

#include "base/PixelRect.h"

#include <windows.h>

namespace hk {

inline PixelRect pixelRectOf(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

inline RECT rectOf(const PixelRect& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

} // namespace hk
