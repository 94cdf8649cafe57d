#include "tools/picturefiles/BitmapFile.h"

#include <utility>

namespace hk {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;

std::uint32_t pixelBytes(const Image& image) {
    return static_cast<std::uint32_t>(image.width) * image.height * 4;
}

// Each mask row is one bit per pixel, padded to a whole number of 32-bit words.
std::uint32_t maskRowBytes(const Image& image) {
    return (image.width + 31) / 32 * 4;
}

void writeInfoHeader(ByteWriter& out, const BmpHeader& header) {
    out.u32(header.size);
    if (header.size == kCoreHeaderSize) {
        out.u16(static_cast<std::uint16_t>(header.width));
        out.u16(static_cast<std::uint16_t>(header.height));
        out.u16(header.planes).u16(header.bitCount);
        return;
    }
    out.u32(static_cast<std::uint32_t>(header.width));
    out.u32(static_cast<std::uint32_t>(header.height));
    out.u16(header.planes).u16(header.bitCount);
    out.u32(header.compression).u32(header.sizeImage);
    out.u32(0).u32(0); // pixels per metre, x and y
    out.u32(header.clrUsed);
    out.u32(0); // colours important
    std::uint32_t written = kInfoHeaderSize;
    if (header.size >= kInfoHeaderSize + sizeof header.masks) {
        for (const std::uint32_t mask : header.masks) {
            out.u32(mask);
        }
        written += sizeof header.masks;
    }
    if (header.size > written) {
        out.fill(header.size - written, 0);
    }
}

BmpHeader imageHeader(const Image& image, int storedHeight, std::uint32_t imageSize) {
    return {.width = image.width, .height = storedHeight, .sizeImage = imageSize};
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

ByteWriter bitmapFileStart(const BmpHeader& header, std::uint32_t fileSize,
                           std::uint32_t pixelOffset) {
    ByteWriter out;
    out.text("BM").u32(fileSize);
    out.u32(0); // reserved
    out.u32(pixelOffset);
    writeInfoHeader(out, header);
    return out;
}

std::vector<std::uint8_t> bitmapFile(const BmpHeader& header, std::span<const std::uint8_t> tables,
                                     std::span<const std::uint8_t> pixels) {
    const auto pixelOffset =
        static_cast<std::uint32_t>(kFileHeaderSize + header.size + tables.size());
    const auto fileSize = static_cast<std::uint32_t>(pixelOffset + pixels.size());
    return std::move(
        bitmapFileStart(header, fileSize, pixelOffset).append(tables).append(pixels).data);
}

std::vector<std::uint8_t> encodeBmp(const Image& image) {
    ByteWriter pixels;
    writePixelsBottomUp(pixels, image);
    return bitmapFile(imageHeader(image, image.height, pixelBytes(image)), {}, pixels.data);
}

std::vector<std::uint8_t> encodeBmp24(const Image& image) {
    const std::size_t stride = (static_cast<std::size_t>(image.width) * 3 + 3) / 4 * 4;
    ByteWriter pixels;
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgba& p = image.at(x, y);
            pixels.u8(p.b).u8(p.g).u8(p.r);
        }
        pixels.fill(stride - static_cast<std::size_t>(image.width) * 3, 0);
    }
    BmpHeader header =
        imageHeader(image, image.height, static_cast<std::uint32_t>(pixels.data.size()));
    header.bitCount = 24;
    return bitmapFile(header, {}, pixels.data);
}

std::vector<std::uint8_t> encodeRle8(int width, std::span<const std::uint8_t> indices,
                                     std::span<const Rgba> palette) {
    constexpr std::uint8_t kEscape = 0;
    constexpr std::uint8_t kEndOfLine = 0;
    constexpr std::uint8_t kEndOfBitmap = 1;
    const auto columns = static_cast<std::size_t>(width);
    const int height = static_cast<int>(indices.size() / columns);
    ByteWriter runs;
    for (int y = height - 1; y >= 0; --y) {
        const auto row = indices.subspan(static_cast<std::size_t>(y) * columns, columns);
        for (std::size_t x = 0; x < columns;) {
            std::size_t length = 1;
            while (x + length < columns && length < 255 && row[x + length] == row[x]) {
                ++length;
            }
            runs.u8(static_cast<std::uint8_t>(length)).u8(row[x]);
            x += length;
        }
        runs.u8(kEscape).u8(y == 0 ? kEndOfBitmap : kEndOfLine);
    }
    ByteWriter table;
    for (const Rgba& colour : palette) {
        table.u8(colour.b).u8(colour.g).u8(colour.r).u8(0);
    }
    const BmpHeader header = {.width = width,
                              .height = height,
                              .bitCount = 8,
                              .compression = 1,
                              .sizeImage = static_cast<std::uint32_t>(runs.data.size()),
                              .clrUsed = static_cast<std::uint32_t>(palette.size())};
    return bitmapFile(header, table.data, runs.data);
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
    writeInfoHeader(out, imageHeader(image, image.height * 2, imageBytes - kInfoHeaderSize));
    writePixelsBottomUp(out, image);
    writeMaskBottomUp(out, image);
    return std::move(out.data);
}

} // namespace hk
