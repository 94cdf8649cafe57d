#pragma once

#include "tools/bytewriter/ByteWriter.h"
#include "tools/picturefiles/Image.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace hk {

// The fields of a BMP information header that a reader acts on. A size of 12 is the core header,
// with 16-bit sizes and no more fields; 40 is BITMAPINFOHEADER, and a larger size one of its
// successors, which from 56 bytes on carry the red, green, blue and alpha masks at byte 40; the
// rest of a longer header is written as zeros. No other size is a BMP header. A negative height
// stores the rows from the top down.
struct BmpHeader {
    std::uint32_t size = 40;
    std::int32_t width = 2;
    std::int32_t height = 2;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 32;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::uint32_t clrUsed = 0;
    std::array<std::uint32_t, 4> masks{};
};

// The file header ("BM", the file's size, reserved, the pixels' offset) and the information
// header, to be followed by the colour table or masks and the pixels.
ByteWriter bitmapFileStart(const BmpHeader& header, std::uint32_t fileSize,
                           std::uint32_t pixelOffset);

// A whole BMP file: the headers, then `tables` (colour table or masks) and `pixels` as given.
std::vector<std::uint8_t> bitmapFile(const BmpHeader& header, std::span<const std::uint8_t> tables,
                                     std::span<const std::uint8_t> pixels);

// A 32-bit bottom-up BMP file (BITMAPINFOHEADER, B,G,R,A pixels) of the image.
std::vector<std::uint8_t> encodeBmp(const Image& image);

// A 24-bit bottom-up BMP file of the image (B,G,R pixels, rows padded to whole 32-bit words);
// the alpha is left out.
std::vector<std::uint8_t> encodeBmp24(const Image& image);

// An 8-bit BMP file compressed by runs (RLE8) of `indices`, the palette index of each pixel, rows
// from the top down. Each row is stored as runs of at most 255 pixels and ends with an end-of-line
// code, the last with end-of-bitmap. The palette holds at most 256 colours, their alpha unused.
std::vector<std::uint8_t> encodeRle8(int width, std::span<const std::uint8_t> indices,
                                     std::span<const Rgba> palette);

// An icon file holding the image as its one BMP-format entry: the header with doubled height, the
// 32-bit colour pixels and an AND mask that is set wherever the image is fully transparent.
std::vector<std::uint8_t> encodeIco(const Image& image);

} // namespace hk
