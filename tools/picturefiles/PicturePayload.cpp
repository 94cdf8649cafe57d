#include "tools/picturefiles/PicturePayload.h"

#include "tools/bytewriter/ByteWriter.h"

#include <utility>

namespace hk {

std::vector<std::uint8_t> picturePayload(std::string_view className,
                                         std::span<const std::uint8_t> file) {
    ByteWriter out;
    out.u8(static_cast<std::uint8_t>(className.size())).text(className).append(sizedFile(file));
    return std::move(out.data);
}

std::vector<std::uint8_t> sizedFile(std::span<const std::uint8_t> file) {
    ByteWriter out;
    out.u32(static_cast<std::uint32_t>(file.size())).append(file);
    return std::move(out.data);
}

} // namespace hk
