#include "picture/PictureClasses.h"

#include <algorithm>
#include <utility>

namespace hk {

PictureClasses::Token PictureClasses::add(PictureClass pictureClass) {
    entries.push_back({nextToken, std::move(pictureClass)});
    return nextToken++;
}

void PictureClasses::remove(Token token) {
    std::erase_if(entries, [token](const Entry& entry) { return entry.token == token; });
}

const PictureClass* PictureClasses::find(std::string_view className) const {
    const auto found =
        std::find_if(entries.rbegin(), entries.rend(), [className](const Entry& entry) {
            return entry.pictureClass.className == className;
        });
    return found == entries.rend() ? nullptr : &found->pictureClass;
}

PictureClasses& programPictureClasses() {
    static PictureClasses classes;
    return classes;
}

PictureClassRegistration::~PictureClassRegistration() {
    if (registry != nullptr) {
        registry->remove(token);
    }
}

PictureClassRegistration::PictureClassRegistration(PictureClassRegistration&& other) noexcept
    : registry(std::exchange(other.registry, nullptr)), token(other.token) {}

std::optional<DecodedBitmap> readPicturePayload(std::span<const std::uint8_t> payload,
                                                const PictureClasses& classes) {
    ByteReader reader(payload);
    const std::string className = reader.shortString();
    if (!reader.ok()) {
        raise<PictureReadError>();
    }
    const PictureClass* pictureClass = classes.find(className);
    if (pictureClass == nullptr) {
        return std::nullopt;
    }
    return pictureClass->read(reader);
}

} // namespace hk
