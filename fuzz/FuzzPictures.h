#pragma once

#include "picture/Composite.h"
#include "picture/PictureClasses.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace hk::fuzz {

// Pictures bigger than this are left to the platform, which refuses them when it cannot make
// the section; composing them here would only measure the fuzzer's memory limit.
inline constexpr std::uint64_t kMaxComposedBytes = 16u << 20;

// The picture a payload names, read as the program reads it, or nothing when the payload is
// rejected with one of the errors that end the reading of the form description.
inline std::optional<DecodedBitmap> readPicture(std::span<const std::uint8_t> payload) {
    static const PictureClasses classes = [] {
        PictureClasses registry;
        registry.add({"png", "TPNGGraphic", readBitmapPicture});
        return registry;
    }();
    try {
        return readPicturePayload(payload, classes);
    } catch (const InvalidBitmap&) {
        // Refusals the program reports; any other error escapes to the fuzzer.
    } catch (const PictureReadError&) {
    }
    return std::nullopt;
}

// Blends the pictures that carry alpha over a window of width × height, as painting does.
inline void composeOver(int width, int height, const std::vector<PlacedPicture>& pictures) {
    std::vector<PlacedPicture> blended;
    for (const PlacedPicture& placed : pictures) {
        if (placed.picture->is32Bit() && placed.picture->sectionSize() <= kMaxComposedBytes) {
            blended.push_back(placed);
        }
    }
    composePictures(width, height, {240, 240, 240}, blended);
}

} // namespace hk::fuzz
