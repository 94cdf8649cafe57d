#pragma once

#include "tools/picturefiles/Image.h"

namespace hk {

// The widget's three pictures and the program's icon. Each is a pure function of nothing, so the
// same program always writes the same bytes.
Image makeBackground();
Image makeTitleStrip();
Image makeCloseGlyph();
Image makeProgramIcon();

} // namespace hk
