#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

namespace hk {

// The stored form description exactly as the program embeds it.
inline std::vector<std::uint8_t> storedFormBytes() {
    std::ifstream in(SOURCE_DIR "/resources/TForm1.bin", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace hk
