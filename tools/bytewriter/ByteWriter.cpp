#include "tools/bytewriter/ByteWriter.h"

#include <algorithm>

namespace hk {

ByteWriter& ByteWriter::u8(std::uint8_t value) {
    data.push_back(value);
    return *this;
}

ByteWriter& ByteWriter::u16(std::uint16_t value) {
    return u8(static_cast<std::uint8_t>(value)).u8(static_cast<std::uint8_t>(value >> 8));
}

ByteWriter& ByteWriter::u32(std::uint32_t value) {
    return u16(static_cast<std::uint16_t>(value)).u16(static_cast<std::uint16_t>(value >> 16));
}

// Grows first and copies after: vector::insert after push_back trips a false warning of GCC 12.
ByteWriter& ByteWriter::append(std::span<const std::uint8_t> bytes) {
    const std::size_t start = data.size();
    data.resize(start + bytes.size());
    std::copy(bytes.begin(), bytes.end(), data.begin() + static_cast<std::ptrdiff_t>(start));
    return *this;
}

ByteWriter& ByteWriter::text(std::string_view text) {
    return append({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

ByteWriter& ByteWriter::fill(std::size_t count, std::uint8_t value) {
    data.resize(data.size() + count, value);
    return *this;
}

} // namespace hk
