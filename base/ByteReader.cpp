#include "base/ByteReader.h"

namespace hk {

bool ByteReader::take(std::size_t count) {
    if (!ok_ || count > bytes_.size() - position_) {
        ok_ = false;
        return false;
    }
    return true;
}

std::uint8_t ByteReader::u8() {
    if (!take(1)) {
        return 0;
    }
    return bytes_[position_++];
}

std::uint16_t ByteReader::u16() {
    if (!take(2)) {
        return 0;
    }
    const auto value = static_cast<std::uint16_t>(bytes_[position_] | bytes_[position_ + 1] << 8);
    position_ += 2;
    return value;
}

std::uint32_t ByteReader::u32() {
    if (!take(4)) {
        return 0;
    }
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | bytes_[position_ + static_cast<std::size_t>(i)];
    }
    position_ += 4;
    return value;
}

std::span<const std::uint8_t> ByteReader::bytes(std::size_t count) {
    if (!take(count)) {
        return {};
    }
    const auto result = bytes_.subspan(position_, count);
    position_ += count;
    return result;
}

std::string ByteReader::shortString() {
    const std::size_t length = u8();
    const auto text = bytes(length);
    return {text.begin(), text.end()};
}

} // namespace hk
