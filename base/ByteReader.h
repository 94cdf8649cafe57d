#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace hk {

// A cursor over stored bytes with little-endian reads and a sticky error: a read that would run
// past the end returns zero (or nothing), leaves the cursor where it was and clears ok() for good,
// so a reader can make a run of reads and check once.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool ok() const { return ok_; }
    std::size_t position() const { return position_; }
    std::size_t remaining() const { return ok_ ? bytes_.size() - position_ : 0; }
    bool atEnd() const { return position_ == bytes_.size(); }

    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    std::int8_t i8() { return static_cast<std::int8_t>(u8()); }
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }

    // The next count bytes, or an empty span (and the error) when fewer are left.
    std::span<const std::uint8_t> bytes(std::size_t count);
    // One length byte, then that many 8-bit characters.
    std::string shortString();
    bool skip(std::size_t count) { return bytes(count).size() == count; }

private:
    bool take(std::size_t count);

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
    bool ok_ = true;
};

} // namespace hk
