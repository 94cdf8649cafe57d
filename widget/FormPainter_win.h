#pragma once

#include "form/FormDescription.h"
#include "widget/ComponentArt_win.h"

#include <span>
#include <windows.h>

namespace hk {

// Paints `area` of the form's client area straight onto `dc`: the form colour, then each
// visible component meeting the area in creation order, moved to its place and clipped to its
// box and the area.
void paintForm(HDC dc, const RECT& area, const FormDescription& form,
               std::span<const ComponentArt> art);

} // namespace hk
