#pragma once

#include "base/ByteWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace hk::test {

// Hand-made stored bytes for the picture readers' tests.
using Bytes = ByteWriter;

struct InfoHeader {
    std::uint32_t size = 40;
    std::int32_t width = 2;
    std::int32_t height = 2;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 32;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::uint32_t clrUsed = 0;
};

// File header ("BM", size, reserved, pixel offset) and an information header of header.size
// bytes, the fields beyond the first 40 filled with 0xEE.
inline Bytes bitmapFileStart(const InfoHeader& header, std::uint32_t offBits = 54) {
    Bytes bytes;
    bytes.text("BM").u32(0).u16(0).u16(0).u32(offBits);
    bytes.u32(header.size).u32(static_cast<std::uint32_t>(header.width));
    bytes.u32(static_cast<std::uint32_t>(header.height)).u16(header.planes).u16(header.bitCount);
    bytes.u32(header.compression).u32(header.sizeImage).u32(0).u32(0).u32(header.clrUsed).u32(0);
    bytes.fill(header.size - 40, 0xEE);
    return bytes;
}

// A payload: class name, the file's length S, then the file.
inline std::vector<std::uint8_t> payload(const std::string& className,
                                         const std::vector<std::uint8_t>& file) {
    Bytes bytes;
    bytes.u8(static_cast<std::uint32_t>(className.size())).text(className);
    bytes.u32(static_cast<std::uint32_t>(file.size())).append(file);
    return bytes.data;
}

// The length S and the file, as a picture class reads them.
inline std::vector<std::uint8_t> sizedFile(const std::vector<std::uint8_t>& file) {
    return Bytes().u32(static_cast<std::uint32_t>(file.size())).append(file).data;
}

} // namespace hk::test
