#pragma once

#include "form/FormDescription.h"

namespace hk {

// a × b / c rounded to the nearest integer, an exact half away from zero, as the platform's
// MulDiv computes it; like it, -1 when c is 0 or the result does not fit in 32 bits.
int mulDiv(int a, int b, int c);

// The form font's height on a display of `screenPpi` pixels per inch, before the "0" is measured.
int formFontHeightAt(int storedHeight, int storedPpi, int screenPpi);

// A label font's character height (negative, as stored) after scaling by
// textHeight/storedTextHeight.
int scaledLabelFontHeight(int storedHeight, int screenPpi, int textHeight, int storedTextHeight);

// Moves and resizes every component by textHeight/storedTextHeight; pictures keep their size.
// Nothing changes when the measured height equals the stored one.
void scaleForm(FormDescription& form, int screenPpi, int textHeight);

} // namespace hk
