#include "picture/BitmapReader.h"

#include "picture/BitmapView.h"

#include <algorithm>
#include <limits>

namespace hk {
namespace {

constexpr std::uint16_t kBitmapSignature = 0x4D42; // "BM"
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kMaskedHeaderSize = 52; // a larger header carries its masks at 40

void expect(const ByteReader& reader) {
    if (!reader.ok()) {
        raise<PictureReadError>();
    }
}

// The older 12-byte header widened: 16-bit unsigned sizes, so always bottom-up.
BitmapHeader readCoreHeader(ByteReader& reader) {
    BitmapHeader header;
    header.width = reader.u16();
    header.height = reader.u16();
    header.planes = reader.u16();
    header.bitCount = reader.u16();
    return header;
}

// The 40-byte fields of an information header of headerSize bytes, with any masks a larger
// header holds. The rest of a larger header is read and dropped.
BitmapHeader readInfoHeader(ByteReader& reader, std::uint32_t headerSize,
                            std::vector<std::uint32_t>& masks) {
    BitmapHeader header;
    header.width = reader.i32();
    header.height = reader.i32();
    header.planes = reader.u16();
    header.bitCount = reader.u16();
    header.compression = reader.u32();
    header.sizeImage = reader.u32();
    header.xPelsPerMeter = reader.i32();
    header.yPelsPerMeter = reader.i32();
    header.clrUsed = reader.u32();
    header.clrImportant = reader.u32();
    std::uint32_t rest = headerSize - kInfoHeaderSize;
    if (headerSize >= kMaskedHeaderSize && header.compression == kBitmapBitFields) {
        masks = {reader.u32(), reader.u32(), reader.u32()};
        rest -= 12;
    }
    reader.skip(rest);
    return header;
}

// Width must be positive-or-zero and abs(height) must fit an int, or sizes derived from them
// could not be represented.
void checkSize(const BitmapHeader& header) {
    if (header.width < 0 || header.height == std::numeric_limits<std::int32_t>::min()) {
        raise<InvalidBitmap>();
    }
}

std::uint32_t colorCount(const BitmapHeader& header) {
    if (header.clrUsed != 0) {
        return header.clrUsed;
    }
    switch (header.bitCount) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

std::vector<std::uint32_t> readColorTable(ByteReader& reader, std::uint32_t count,
                                          std::size_t entrySize) {
    if (count > reader.remaining() / entrySize) {
        raise<PictureReadError>();
    }
    std::vector<std::uint32_t> table(count);
    for (auto& entry : table) {
        const auto bytes = reader.bytes(entrySize);
        entry = static_cast<std::uint32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16);
    }
    return table;
}

// The stored image size (or stride times rows), cut to what the file has left, and for
// section bitmaps also to the section, so copying it in can never write past the section.
std::uint64_t pixelByteCount(const DecodedBitmap& bitmap, std::size_t budget) {
    std::uint64_t count = bitmap.header.sizeImage;
    if (count == 0) {
        count = bitmap.sectionSize();
    }
    count = std::min<std::uint64_t>(count, budget);
    if (!bitmap.compressed) {
        count = std::min(count, bitmap.sectionSize());
    }
    return count;
}

DecodedBitmap readBitmapFile(ByteReader& file) {
    if (file.u16() != kBitmapSignature) {
        expect(file);
        raise<InvalidBitmap>();
    }
    file.skip(12); // size, reserved words and pixel offset: the pixels follow the tables
    const std::uint32_t headerSize = file.u32();
    expect(file);
    DecodedBitmap bitmap;
    if (headerSize == kCoreHeaderSize) {
        bitmap.header = readCoreHeader(file);
    } else if (headerSize >= kInfoHeaderSize) {
        bitmap.header = readInfoHeader(file, headerSize, bitmap.masks);
    } else {
        raise<InvalidBitmap>();
    }
    expect(file);
    const BitmapHeader& header = bitmap.header;
    bitmap.compressed =
        header.compression != kBitmapUncompressed && header.compression != kBitmapBitFields;
    if (header.planes != 1) {
        raise<InvalidBitmap>();
    }
    checkSize(header);
    if (headerSize == kInfoHeaderSize && (header.bitCount == 16 || header.bitCount == 32) &&
        header.compression == kBitmapBitFields) {
        bitmap.masks = {file.u32(), file.u32(), file.u32()};
        expect(file);
    }
    bitmap.colorTable =
        readColorTable(file, colorCount(header), headerSize == kCoreHeaderSize ? 3 : 4);
    const auto count = static_cast<std::size_t>(pixelByteCount(bitmap, file.remaining()));
    const auto pixels = file.bytes(count);
    bitmap.pixels.assign(pixels.begin(), pixels.end());
    if (bitmap.compressed) {
        // The platform reads compressed data up to the stored image size; it must not reach
        // past the bytes that were actually there.
        bitmap.header.sizeImage = static_cast<std::uint32_t>(count);
    }
    return bitmap;
}

} // namespace

std::uint64_t DecodedBitmap::sectionSize() const {
    const std::uint64_t stride = bitmapStride(width(), header.bitCount);
    const auto rows = static_cast<std::uint64_t>(height());
    if (rows != 0 && stride > std::numeric_limits<std::uint64_t>::max() / rows) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    return stride * rows;
}

// The section's own size is the final word: the platform may lay it out smaller than the header
// claims.
void DecodedBitmap::copyPixelsInto(std::span<std::uint8_t> section) const {
    const std::size_t count = std::min(pixels.size(), section.size());
    std::copy_n(pixels.begin(), count, section.begin());
}

DecodedBitmap readBitmapPicture(ByteReader& reader) {
    const std::uint32_t size = reader.u32();
    const auto file = reader.bytes(size);
    expect(reader);
    if (size == 0) {
        return {};
    }
    ByteReader fileReader(file);
    return readBitmapFile(fileReader);
}

} // namespace hk
