#pragma once

#include "Image.h"

#include <cstdint>
#include <vector>

namespace hk {

// A 32-bit bottom-up BMP file (file header, BITMAPINFOHEADER, B,G,R,A pixels) of the image.
std::vector<std::uint8_t> encodeBmp(const Image& image);

// An icon file holding the image as its one BMP-format entry: the header with doubled height, the
// 32-bit colour pixels and an AND mask that is set wherever the image is fully transparent.
std::vector<std::uint8_t> encodeIco(const Image& image);

} // namespace hk
