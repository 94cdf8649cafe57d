#pragma once

#include "picture/BitmapView.h"

namespace hk {

// The pixel work of drawing a picture with alpha: blends the 32-bit `picture` over the 24-bit
// `canvas` with the picture's top-left pixel at (left, top), cutting off whatever falls outside
// the canvas. `beforeRow` is called before each row is touched (see BlendOptions).
void blendPicture(const ConstBitmapView& picture, const BitmapView& canvas, int left, int top,
                  void (*beforeRow)() = nullptr);

} // namespace hk
