#include "Pictures.h"

#include <cmath>

namespace hk {
namespace {

constexpr int kSize = 16;
constexpr double kCentre = 8.0;
constexpr double kDiscRadius = 6.0;
constexpr double kDiscAlpha = 204.0;
// The cross: each bar's half thickness across its diagonal and half length along it.
constexpr double kBarHalfThickness = 0.67;
constexpr double kBarHalfLength = 3.0;
constexpr int kSubsamples = 16;

bool inBar(double across, double along) {
    return std::abs(across) <= kBarHalfThickness && std::abs(along) <= kBarHalfLength;
}

bool isLit(double x, double y) {
    const double dx = x - kCentre;
    const double dy = y - kCentre;
    if (dx * dx + dy * dy > kDiscRadius * kDiscRadius) {
        return false;
    }
    const double down = (dx - dy) / std::sqrt(2.0);
    const double up = (dx + dy) / std::sqrt(2.0);
    return !inBar(down, up) && !inBar(up, down);
}

// The share of the pixel's area that is lit, from a grid of samples inside it.
double coverage(int px, int py) {
    int lit = 0;
    for (int sy = 0; sy < kSubsamples; ++sy) {
        for (int sx = 0; sx < kSubsamples; ++sx) {
            lit += isLit(px + (sx + 0.5) / kSubsamples, py + (sy + 0.5) / kSubsamples) ? 1 : 0;
        }
    }
    return static_cast<double>(lit) / (kSubsamples * kSubsamples);
}

} // namespace

Image makeCloseGlyph() {
    Image image(kSize, kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const auto alpha = static_cast<std::uint8_t>(std::lround(coverage(x, y) * kDiscAlpha));
            image.at(x, y) = {255, 255, 255, alpha};
        }
    }
    return image;
}

} // namespace hk
