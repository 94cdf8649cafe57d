// Any bytes given as the stored form description, taken the whole way to a laid-out widget:
// the description, each picture decoded, the pictures sizing their controls, the layout scaled
// for several displays, the auto-sized labels measured, the mouse routed, and the pictures
// blended over the window.
#include "form/FormDescription.h"
#include "fuzz/FuzzPictures.h"
#include "widget/HitTest.h"
#include "widget/LabelText.h"
#include "widget/Scaling.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <span>
#include <string>

namespace {

// Pictures keyed by the index of their control: one decoding serves every display.
using Pictures = std::map<std::size_t, hk::DecodedBitmap>;

// False when a picture fails, which ends the reading of the description.
bool decodePictures(hk::FormDescription& form, Pictures& pictures) {
    for (std::size_t i = 0; i < form.components.size(); ++i) {
        hk::Component& component = form.components[i];
        if (component.kind != hk::ComponentKind::Image || component.pictureData.empty()) {
            continue;
        }
        auto picture = hk::fuzz::readPicture(component.pictureData);
        if (!picture) {
            return false;
        }
        if (component.autoSize) {
            component.box.width = picture->width();
            component.box.height = picture->height();
        }
        pictures.emplace(i, std::move(*picture));
    }
    return true;
}

// A stand-in for the screen's text measure: 6 pixels a character, 15 a line.
hk::TextSize measure(const std::string& text) {
    const auto lines = 1 + std::count(text.begin(), text.end(), '\n');
    return {static_cast<int>(6 * std::min<std::size_t>(text.size(), 1000)),
            static_cast<int>(15 * std::min<std::ptrdiff_t>(lines, 1000))};
}

void layOut(hk::FormDescription form, const Pictures& pictures, int screenPpi) {
    const int fontHeight = hk::formFontHeightAt(form.font.height, form.pixelsPerInch, screenPpi);
    // The "0" of the form's font: about its character height plus the internal leading.
    const int measured = std::min(std::abs(fontHeight), 1000) * 6 / 5;
    hk::scaleForm(form, screenPpi, measured);
    std::vector<hk::PlacedPicture> placed;
    for (std::size_t i = 0; i < form.components.size(); ++i) {
        hk::Component& component = form.components[i];
        if (component.kind == hk::ComponentKind::Label) {
            hk::applyAutoSize(component, measure);
        } else if (const auto found = pictures.find(i); found != pictures.end()) {
            placed.push_back({&found->second, component.box.left, component.box.top});
        }
    }
    for (const hk::Point point : {hk::Point{0, 0}, hk::Point{190, 5}, hk::Point{80, 60}}) {
        hk::cursorAt(form.components, point);
    }
    if (form.clientWidth > 0 && form.clientWidth <= 2048 && form.clientHeight > 0 &&
        form.clientHeight <= 2048) {
        hk::fuzz::composeOver(form.clientWidth, form.clientHeight, placed);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    hk::FormDescription form;
    try {
        form = hk::readFormDescription(std::span<const std::uint8_t>(data, size));
    } catch (const hk::FormReadError&) {
        return 0;
    }
    Pictures pictures;
    if (!decodePictures(form, pictures)) {
        return 0;
    }
    for (const int screenPpi : {96, 120, 144}) {
        layOut(form, pictures, screenPpi);
    }
    return 0;
}
