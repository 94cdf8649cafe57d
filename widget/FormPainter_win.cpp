#include "widget/FormPainter_win.h"

#include "platform/DcGuards_win.h"
#include "platform/PixelRect_win.h"
#include "widget/FormLayout.h"
#include "widget/TextDrawing_win.h"

namespace hk {
namespace {

void fill(HDC dc, const RECT& rect, COLORREF colour) {
    ::SetDCBrushColor(dc, colour);
    ::FillRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

void drawLabel(HDC dc, const Component& label, HFONT font) {
    RECT box{0, 0, label.box.width, label.box.height};
    if (!label.transparent) {
        fill(dc, box, colourRef(label.color));
    }
    const SelectionGuard selected(dc, font);
    ::SetTextColor(dc, colourRef(label.font.colour));
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextA(dc, label.caption.data(), static_cast<int>(label.caption.size()), &box,
                kLabelTextFormat);
}

void drawComponent(HDC dc, const Component& component, const ComponentArt& art) {
    if (component.kind == ComponentKind::Label) {
        drawLabel(dc, component, art.font.get());
    } else if (art.picture) {
        // At the picture's own size, whatever the control's, unless the control stretches it.
        const RECT r = component.stretch ? RECT{0, 0, component.box.width, component.box.height}
                                         : RECT{0, 0, art.picture->Width(), art.picture->Height()};
        art.picture->Draw(dc, r);
    }
}

} // namespace

void paintForm(HDC dc, const RECT& area, const FormDescription& form,
               std::span<const ComponentArt> art) {
    fill(dc, area, colourRef(form.color));
    const PixelRect painted = pixelRectOf(area);
    for (const std::size_t i : componentsToPaint(form.components, painted)) {
        const Box& box = form.components[i].box;
        const PixelRect clip = coveredPart(box, painted);
        const SavedDcState saved(dc);
        ::IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
        ::OffsetViewportOrgEx(dc, box.left, box.top, nullptr);
        drawComponent(dc, form.components[i], art[i]);
    }
}

} // namespace hk
