#include "Pictures.h"

#include <algorithm>
#include <cmath>

namespace hk {
namespace {

constexpr int kSize = 16;
constexpr double kCentre = 8.0;
// The disc sits a fortieth of a pixel left of the cross: a disc centred exactly on the pixel grid
// shades its rim in only a few steps of alpha, all mirror images of each other.
constexpr double kDiscCentreX = 7.975;
constexpr double kDiscRadius = 5.9;
constexpr double kDiscAlpha = 204.0;
// Each bar of the cross runs along a diagonal: full thickness near the middle, then thinning to a
// point, so its ends fade into the disc instead of stopping square.
constexpr double kBarHalfThickness = 0.7;
constexpr double kBarFullHalfLength = 3.25;
constexpr double kBarPointDistance = 6.75;
constexpr int kSubsamples = 16;

bool inBar(double across, double along) {
    const double distance = std::abs(along);
    if (distance > kBarPointDistance) {
        return false;
    }
    const double taper =
        std::min(1.0, (kBarPointDistance - distance) / (kBarPointDistance - kBarFullHalfLength));
    return std::abs(across) <= kBarHalfThickness * taper;
}

bool isLit(double x, double y) {
    const double discX = x - kDiscCentreX;
    const double dy = y - kCentre;
    if (discX * discX + dy * dy > kDiscRadius * kDiscRadius) {
        return false;
    }
    const double dx = x - kCentre;
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
