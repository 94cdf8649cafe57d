#pragma once

#include "form/FormDescription.h"
#include "widget/ComponentArt_win.h"

#include <vector>
#include <windows.h>

namespace hk {

// Completes a form read from its description on the widget's (still hidden) window: loads the
// pictures, lays the form out for the screen's resolution, measured on that window, and makes
// each label's font. Returns the art, parallel to form.components.
std::vector<ComponentArt> loadForm(FormDescription& form, HWND window);

} // namespace hk
