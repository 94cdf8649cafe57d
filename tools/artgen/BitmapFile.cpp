#include "BitmapFile.h"

#include "base/ByteWriter.h"

#include <utility>

namespace hk {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

std::uint32_t pixelBytes(const Image& image) {
    return static_cast<std::uint32_t>(image.width) * image.height * 4;
}

// Each mask row is one bit per pixel, padded to a whole number of 32-bit words.
std::uint32_t maskRowBytes(const Image& image) {
    return (image.width + 31) / 32 * 4;
}

void writeInfoHeader(ByteWriter& out, const Image& image, int storedHeight,
                     std::uint32_t imageSize) {
    out.u32(kInfoHeaderSize);
    out.u32(image.width);
    out.u32(storedHeight);
    out.u16(1);  // planes
    out.u16(32); // bits per pixel
    out.u32(0);  // BI_RGB
    out.u32(imageSize);
    out.u32(0); // pixels per metre, x
    out.u32(0); // pixels per metre, y
    out.u32(0); // colours used
    out.u32(0); // colours important
}

void writePixelsBottomUp(ByteWriter& out, const Image& image) {
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgba& p = image.at(x, y);
            out.u8(p.b);
            out.u8(p.g);
            out.u8(p.r);
            out.u8(p.a);
        }
    }
}

void writeMaskBottomUp(ByteWriter& out, const Image& image) {
    for (int y = image.height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(maskRowBytes(image), 0);
        for (int x = 0; x < image.width; ++x) {
            if (image.at(x, y).a == 0) {
                row[x / 8] |= 0x80 >> (x % 8);
            }
        }
        out.append(row);
    }
}

} // namespace

std::vector<std::uint8_t> encodeBmp(const Image& image) {
    ByteWriter out;
    const std::uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize;
    out.text("BM");
    out.u32(pixelOffset + pixelBytes(image));
    out.u32(0); // reserved
    out.u32(pixelOffset);
    writeInfoHeader(out, image, image.height, pixelBytes(image));
    writePixelsBottomUp(out, image);
    return std::move(out.data);
}

std::vector<std::uint8_t> encodeIco(const Image& image) {
    constexpr std::uint32_t kDirectorySize = 6 + 16;
    const std::uint32_t imageBytes =
        kInfoHeaderSize + pixelBytes(image) + maskRowBytes(image) * image.height;
    ByteWriter out;
    out.u16(0); // reserved
    out.u16(1); // type: icon
    out.u16(1); // one image
    // A stored width or height of 0 would mean 256; the icons here are smaller.
    out.u8(static_cast<std::uint8_t>(image.width));
    out.u8(static_cast<std::uint8_t>(image.height));
    out.u8(0);  // no palette
    out.u8(0);  // reserved
    out.u16(1); // planes
    out.u16(32);
    out.u32(imageBytes);
    out.u32(kDirectorySize);
    writeInfoHeader(out, image, image.height * 2, imageBytes - kInfoHeaderSize);
    writePixelsBottomUp(out, image);
    writeMaskBottomUp(out, image);
    return std::move(out.data);
}

} // namespace hk
