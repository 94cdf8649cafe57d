#pragma once

#include "picture/BitmapView.h"

namespace hk {

// The platform's halftone stretching resamples colours only, so a picture's alpha is stretched as
// the grey levels of a 32-bit picture of its own. alphaToGrey writes each pixel's alpha as the
// blue, green and red of the same pixel of `grey`; greenToAlpha takes each pixel's green of `grey`
// back as the alpha of the same pixel of `picture`, whose colours it leaves alone. Both are 32-bit
// and of one size.
void alphaToGrey(const ConstBitmapView& picture, const BitmapView& grey);
void greenToAlpha(const ConstBitmapView& grey, const BitmapView& picture);

} // namespace hk
