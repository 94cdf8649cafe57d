#pragma once

#include "tools/picturefiles/BitmapFile.h"

#include <cstdint>

namespace hk::test {

using Bytes = ByteWriter;

// A BMP file's headers, written by the writer that makes the program's pictures, for a test to
// follow with tables and pixels of its own. The file's size is left 0 and the pixel offset is
// as given: readers go by the headers and the bytes that follow them.
inline Bytes bitmapFileStart(const BmpHeader& header, std::uint32_t offBits = 54) {
    return hk::bitmapFileStart(header, 0, offBits);
}

} // namespace hk::test
