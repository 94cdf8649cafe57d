#pragma once

#include "base/ByteReader.h"
#include "base/Error.h"

#include <cstdint>
#include <span>
#include <vector>

namespace hk {

// A stored bitmap file that breaks the format's rules.
class InvalidBitmap : public Error {
public:
    explicit InvalidBitmap(const void* address)
        : Error("InvalidBitmap", "Bitmap image is not valid", address) {}
};

// Stored picture bytes that end before the lengths they carry say they do.
class PictureReadError : public Error {
public:
    explicit PictureReadError(const void* address)
        : Error("PictureReadError", "Stream read error", address) {}
};

// The fields of the 40-byte information header, whichever header the file stored.
struct BitmapHeader {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;
};

inline constexpr std::uint32_t kBitmapUncompressed = 0;
inline constexpr std::uint32_t kBitmapBitFields = 3;

// A bitmap file as read, ready to become a section bitmap (or, when compressed, to go through
// the platform's conversion).
struct DecodedBitmap {
    BitmapHeader header;
    std::vector<std::uint32_t> masks;      // red, green, blue bit fields, or none
    std::vector<std::uint32_t> colorTable; // 0x00RRGGBB, the in-memory order blue, green, red, 0
    std::vector<std::uint8_t> pixels;      // the stored pixel bytes, never more than the section
    bool compressed = false;

    int width() const { return header.width; }
    int height() const { return header.height < 0 ? -header.height : header.height; }
    bool topDown() const { return header.height < 0; }
    // Only uncompressed 32-bit pixels carry alpha; bit fields and every other depth draw opaque.
    bool is32Bit() const {
        return header.bitCount == 32 && header.compression == kBitmapUncompressed;
    }
    bool empty() const { return width() == 0 || height() == 0; }
    // Bytes of the section bitmap: stride times rows.
    std::uint64_t sectionSize() const;
    // Copies the stored pixels into a section bitmap's memory, which starts out zero: the rows
    // the file did not fill stay clear.
    void copyPixelsInto(std::span<std::uint8_t> section) const;
};

// Reads the stored length and the bitmap file of that many bytes after it; a length of 0 is an
// empty picture.
// Throws InvalidBitmap or PictureReadError.
DecodedBitmap readBitmapPicture(ByteReader& reader);

} // namespace hk
