#include "Font.h"
#include "Pictures.h"

#include <algorithm>
#include <cmath>

namespace hk {
namespace {

constexpr int kSize = 48;
constexpr int kSubsamples = 4;
constexpr int kLetterScale = 2;
constexpr Rgba kMark{255, 146, 16, 255};

struct RoundedRect {
    double left;
    double top;
    double right;
    double bottom;
    double radius;

    bool contains(double x, double y) const {
        const double cx = std::clamp(x, left + radius, right - radius);
        const double cy = std::clamp(y, top + radius, bottom - radius);
        return x >= left && x <= right && y >= top && y <= bottom &&
               (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    }

    double coverage(int px, int py) const {
        int inside = 0;
        for (int sy = 0; sy < kSubsamples; ++sy) {
            for (int sx = 0; sx < kSubsamples; ++sx) {
                inside += contains(px + (sx + 0.5) / kSubsamples, py + (sy + 0.5) / kSubsamples);
            }
        }
        return static_cast<double>(inside) / (kSubsamples * kSubsamples);
    }
};

// The key cap: a dark skirt and a lighter top face set high in it, so that more of the skirt shows
// below the face and the key seems to be seen from slightly above.
constexpr RoundedRect kSkirt{2, 2, 46, 46, 9};
constexpr RoundedRect kFace{7, 4, 41, 38, 6};

std::uint8_t mix(double from, double to, double t) {
    return static_cast<std::uint8_t>(std::lround(from + (to - from) * t));
}

Rgba shade(double top, double bottom, int y) {
    const std::uint8_t level = mix(top, bottom, y / (kSize - 1.0));
    return {level, level, level, 255};
}

Rgba blend(Rgba under, Rgba over, double amount) {
    return {mix(under.r, over.r, amount), mix(under.g, over.g, amount),
            mix(under.b, over.b, amount), under.a};
}

void drawCap(Image& image) {
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            Rgba skirt = shade(50, 14, y);
            skirt.a = mix(0, 255, kSkirt.coverage(x, y));
            image.at(x, y) = blend(skirt, shade(78, 36, y), kFace.coverage(x, y));
        }
    }
}

void drawMark(Image& image) {
    const std::vector<Point> mark = inkPixels(titleFace(), "HK", 1, 0, 0);
    int inkRight = 0;
    int inkBottom = 0;
    for (Point ink : mark) {
        inkRight = std::max(inkRight, ink.x);
        inkBottom = std::max(inkBottom, ink.y);
    }
    // Centre the ink, not the glyph cells, on the top face.
    const int width = (inkRight + 1) * kLetterScale;
    const int height = (inkBottom + 1) * kLetterScale;
    const int left = static_cast<int>(kFace.left + kFace.right - width) / 2;
    const int top = static_cast<int>(kFace.top + kFace.bottom - height) / 2;
    for (Point ink : mark) {
        for (int dy = 0; dy < kLetterScale; ++dy) {
            for (int dx = 0; dx < kLetterScale; ++dx) {
                image.at(left + ink.x * kLetterScale + dx, top + ink.y * kLetterScale + dy) = kMark;
            }
        }
    }
}

} // namespace

Image makeProgramIcon() {
    Image image(kSize, kSize);
    drawCap(image);
    drawMark(image);
    return image;
}

} // namespace hk
