#pragma once

#include "picture/PictureClasses.h"

#include <cstdint>
#include <optional>
#include <span>

namespace hk::fuzz {

// Pictures bigger than this are left to the platform, which refuses them when it cannot make
// the section; blending them here would only measure the fuzzer's memory limit.
inline constexpr std::uint64_t kMaxBlendedBytes = 16u << 20;

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

// Whether painting blends the picture here: it carries alpha and its section is small enough.
inline bool blendable(const DecodedBitmap& picture) {
    return picture.is32Bit() && picture.sectionSize() <= kMaxBlendedBytes;
}

} // namespace hk::fuzz
