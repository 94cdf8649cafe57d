#include "Font.h"
#include "Pictures.h"

#include <algorithm>
#include <cmath>

namespace hk {
namespace {

constexpr int kWidth = 202;
constexpr int kHeight = 21;
constexpr int kBarTop = 1;
constexpr int kBarBottom = 13;
constexpr int kEdgeRow = 14;
constexpr int kBarTopLevel = 2;
constexpr int kBarBottomLevel = 23;
constexpr Rgba kName{255, 146, 16, 255};
constexpr Rgba kVersion{255, 16, 55, 255};

// The shadow below the bar: per row, its strength in the middle and the columns it covers. It
// narrows and fades downwards, as if the bar stood a little off the plate.
struct ShadowRow {
    int peakAlpha;
    int left;
    int right;
};

constexpr ShadowRow kShadowRows[] = {
    {55, 65, 166}, {40, 67, 164}, {27, 70, 161}, {17, 74, 157}, {10, 78, 153}, {5, 82, 148},
};
constexpr int kShadowFade = 36;

// The edge row lies along the whole bar, stronger where the shadow hangs below it.
constexpr int kEdgeAlpha = 60;
constexpr int kEdgePeakAlpha = 103;
constexpr int kEdgeFade = 48;

void drawTopLine(Image& image) {
    for (int x = 0; x < image.width; ++x) {
        image.at(x, 0) = {255, 255, 255, 33};
    }
}

void drawBar(Image& image) {
    for (int y = kBarTop; y <= kBarBottom; ++y) {
        const double t = static_cast<double>(y - kBarTop) / (kBarBottom - kBarTop);
        const auto value = static_cast<std::uint8_t>(
            std::lround(kBarTopLevel + t * (kBarBottomLevel - kBarTopLevel)));
        for (int x = 0; x < image.width; ++x) {
            image.at(x, y) = {value, value, value, 255};
        }
    }
}

// How far into a span a column lies, eased from 0 at the ends to 1 after `fade` columns.
double easeIn(int x, int left, int right, int fade) {
    const double inside = std::min(x - left + 1, right - x + 1);
    const double t = std::clamp(inside / fade, 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

void drawEdge(Image& image) {
    const ShadowRow& widest = kShadowRows[0];
    for (int x = 0; x < image.width; ++x) {
        const double lift = x < widest.left || x > widest.right
                                ? 0.0
                                : easeIn(x, widest.left, widest.right, kEdgeFade);
        const int alpha =
            kEdgeAlpha + static_cast<int>(std::lround(lift * (kEdgePeakAlpha - kEdgeAlpha)));
        image.at(x, kEdgeRow) = {0, 0, 0, static_cast<std::uint8_t>(alpha)};
    }
}

void drawShadow(Image& image) {
    int y = kEdgeRow + 1;
    for (const ShadowRow& row : kShadowRows) {
        for (int x = row.left; x <= row.right; ++x) {
            const double strength = easeIn(x, row.left, row.right, kShadowFade);
            // Every column of the span keeps at least a trace, so the span is what it says.
            const long alpha = std::max(1L, std::lround(strength * row.peakAlpha));
            image.at(x, y) = {0, 0, 0, static_cast<std::uint8_t>(alpha)};
        }
        ++y;
    }
}

void drawText(Image& image, std::string_view text, int spacing, int left, int top, Rgba colour) {
    for (Point ink : inkPixels(titleFace(), text, spacing, left, top)) {
        image.at(ink.x, ink.y) = colour;
    }
}

} // namespace

Image makeTitleStrip() {
    Image image(kWidth, kHeight);
    drawTopLine(image);
    drawBar(image);
    drawEdge(image);
    drawShadow(image);
    drawText(image, "HotKeys", 2, 70, 3, kName);
    drawText(image, HOTKEYS_VERSION_MARK, 1, 143, 4, kVersion);
    return image;
}

} // namespace hk
