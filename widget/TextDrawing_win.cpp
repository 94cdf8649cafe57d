#include "widget/TextDrawing_win.h"

#include "base/Error.h"
#include "platform/DcGuards_win.h"
#include "platform/SystemErrorText_win.h"

namespace hk {

UniqueFont createFont(const Font& font) {
    const int weight = (font.style & fontstyle::kBold) != 0 ? FW_BOLD : FW_NORMAL;
    UniqueFont created(
        ::CreateFontA(font.height, 0, 0, 0, weight, (font.style & fontstyle::kItalic) != 0,
                      (font.style & fontstyle::kUnderline) != 0,
                      (font.style & fontstyle::kStrikeOut) != 0, font.charset, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, font.name.c_str()));
    if (!created) {
        raiseLastError(SystemErrorWording::CodeAndText);
    }
    return created;
}

COLORREF colourRef(const Colour& colour) {
    return colour.kind == Colour::Kind::System ? ::GetSysColor(static_cast<int>(colour.value))
                                               : colour.value;
}

TextSize measureLabelText(HFONT font, const std::string& text) {
    const WindowDc screen(nullptr);
    return measureLabelText(screen.get(), font, text);
}

TextSize measureLabelText(HDC screen, HFONT font, const std::string& text) {
    const SelectionGuard selected(screen, font);
    RECT bounds{};
    ::DrawTextA(screen, text.data(), static_cast<int>(text.size()), &bounds,
                DT_CALCRECT | kLabelTextFormat);
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

int measureZeroHeight(HDC dc, HFONT font) {
    const SelectionGuard selected(dc, font);
    SIZE size{};
    ::GetTextExtentPoint32A(dc, "0", 1, &size);
    return size.cy;
}

} // namespace hk
