// Any bytes given as the stored form description, taken the whole way to a painted widget by the
// program's own steps: the description read, each picture decoded, the layout completed for
// several displays (pictures sizing their controls, scaling, auto-sized labels measured), the
// mouse routed, the painter's clips taken, and the pictures blended over the window in painting
// order.
#include "form/FormDescription.h"
#include "fuzz/FuzzPictures.h"
#include "tests/support/PaintedWidget.h"
#include "widget/FormLayout.h"
#include "widget/HitTest.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace {

// The decoded pictures, parallel to the components: one decoding serves every display.
struct Pictures {
    std::vector<std::optional<hk::PictureSize>> sizes;
    std::vector<std::unique_ptr<hk::test::SectionPicture>> sections;
    std::vector<const hk::test::SectionPicture*> blended;
};

// Nothing when a picture fails, which ends the reading of the description.
std::optional<Pictures> decodePictures(const hk::FormDescription& form) {
    Pictures pictures;
    for (const hk::Component& component : form.components) {
        std::optional<hk::PictureSize> size;
        const hk::test::SectionPicture* blended = nullptr;
        if (component.kind == hk::ComponentKind::Image && !component.pictureData.empty()) {
            const auto picture = hk::fuzz::readPicture(component.pictureData);
            if (!picture) {
                return std::nullopt;
            }
            size = hk::PictureSize{picture->width(), picture->height()};
            if (hk::fuzz::blendable(*picture)) {
                pictures.sections.push_back(std::make_unique<hk::test::SectionPicture>(*picture));
                blended = pictures.sections.back().get();
            }
        }
        pictures.sizes.push_back(size);
        pictures.blended.push_back(blended);
    }
    return pictures;
}

// A stand-in for the display: 6 pixels a character and 15 a line, and a "0" about its font's
// character height plus the internal leading.
class StandInMetrics : public hk::LayoutMetrics {
public:
    int zeroHeight(const hk::Font& font) override {
        return static_cast<int>(std::min<std::int64_t>(std::abs(std::int64_t{font.height}), 1000) *
                                6 / 5);
    }
    hk::TextSize measure(const hk::Font&, const std::string& text) override {
        const auto lines = 1 + std::count(text.begin(), text.end(), '\n');
        return {static_cast<int>(6 * std::min<std::size_t>(text.size(), 1000)),
                static_cast<int>(15 * std::min<std::ptrdiff_t>(lines, 1000))};
    }
};

std::string sameText(const std::string& text) {
    return text;
}

void layOutAndPaint(hk::FormDescription form, const Pictures& pictures, int screenPpi) {
    StandInMetrics metrics;
    hk::completeLayout(form, pictures.sizes, screenPpi, sameText, metrics);
    for (const hk::Point point : {hk::Point{0, 0}, hk::Point{190, 5}, hk::Point{80, 60}}) {
        hk::cursorAt(form.components, point);
    }
    // The painter's clips for an area as large as the platform's rectangle allows.
    constexpr int kLeast = std::numeric_limits<int>::min();
    constexpr int kMost = std::numeric_limits<int>::max();
    hk::componentsToPaint(form.components, {kLeast, kLeast, kMost, kMost});
    if (form.clientWidth > 0 && form.clientWidth <= 2048 && form.clientHeight > 0 &&
        form.clientHeight <= 2048) {
        hk::test::Canvas window(form.clientWidth, form.clientHeight, {240, 240, 240});
        hk::test::paintPictures(form.components, pictures.blended, window);
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
    const auto pictures = decodePictures(form);
    if (!pictures) {
        return 0;
    }
    for (const int screenPpi : {96, 120, 144}) {
        layOutAndPaint(form, *pictures, screenPpi);
    }
    return 0;
}
