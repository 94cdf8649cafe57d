#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

namespace hk {

// Builds stored bytes, the counterpart of ByteReader: little-endian integers, runs of bytes and
// 8-bit text, each call appending to `data` and returning the writer, so that a layout reads as
// one chain. The tools that make the program's stored bytes and the tests that forge them use it.
struct ByteWriter {
    std::vector<std::uint8_t> data;

    ByteWriter& u8(std::uint8_t value);
    ByteWriter& u16(std::uint16_t value);
    ByteWriter& u32(std::uint32_t value);
    ByteWriter& append(std::span<const std::uint8_t> bytes);
    ByteWriter& append(std::initializer_list<std::uint8_t> bytes) {
        return append(std::span(bytes.begin(), bytes.size()));
    }
    ByteWriter& text(std::string_view text);
    ByteWriter& fill(std::size_t count, std::uint8_t value);
};

} // namespace hk
