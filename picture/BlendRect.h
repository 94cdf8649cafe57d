#pragma once

#include "base/PixelRect.h"
#include "picture/BitmapView.h"

#include <cstdint>

namespace hk {

// The tint colour that means "no tint".
inline constexpr std::uint32_t kNoTint = 0x1FFFFFFF;

// How a picture is blended. The widget always draws with these defaults: BlendRect refuses a
// tint and key mode, which it does not implement, rather than draw them wrongly.
struct BlendOptions {
    std::uint32_t tint = kNoTint;
    // Percent of the picture's opacity taken away: alpha becomes (100 - p) * alpha / 100.
    int extraTransparency = 0;
    bool keyMode = false;
    // Called before each row of either bitmap is touched, so that drawing queued by the platform
    // has reached the pixel memory; null when nothing is queued.
    void (*beforeRow)() = nullptr;
};

// Blends the 32-bit source (straight alpha in the fourth byte) over the 24-bit destination,
// rows and columns clamped to both rectangles and both bitmaps. A null source blends nothing.
// Throws InvalidArgument for other pixel formats, a tint, key mode, or a transparency
// outside 0..100.
void BlendRect(const PixelRect& rd, const PixelRect& rs, const BitmapView& destination,
               const ConstBitmapView* source, const BlendOptions& options = {});

} // namespace hk
