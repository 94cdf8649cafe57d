#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace hk {

// A picture as the form description stores it: the picture class's name as a short string, then
// the file with its 32-bit length. The caller keeps the name under 256 bytes and the file under
// 4 GiB.
std::vector<std::uint8_t> picturePayload(std::string_view className,
                                         std::span<const std::uint8_t> file);

// The file with its 32-bit length, as a picture class reads it after its name.
std::vector<std::uint8_t> sizedFile(std::span<const std::uint8_t> file);

} // namespace hk
