#pragma once

#include "form/FormDescription.h"
#include "platform/UniqueHandle_win.h"
#include "widget/LabelText.h"

#include <string>
#include <windows.h>

namespace hk {

// How a label's text is laid out: lines at CR/LF, tabs every eight average character widths,
// "&" marking the next character; never wrapped.
constexpr UINT kLabelTextFormat = DT_LEFT | DT_EXPANDTABS;

// The font as stored: face, character height and style; default character set handling, pitch,
// precision and quality are left to the font mapper, which substitutes a missing face.
UniqueFont createFont(const Font& font);

// A stored colour as the platform draws it; system colours are looked up now.
COLORREF colourRef(const Colour& colour);

// The size of a label's text drawn in `font`, on the screen.
TextSize measureLabelText(HFONT font, const std::string& text);
// The same on a screen surface the caller already holds.
TextSize measureLabelText(HDC screen, HFONT font, const std::string& text);

// The height of "0" in `font` on the surface `dc`.
int measureZeroHeight(HDC dc, HFONT font);

} // namespace hk
