#include "widget/PictureClasses.h"

#include <algorithm>
#include <utility>

namespace hk {

PictureClasses::Token PictureClasses::add(PictureClass pictureClass) {
    entries_.push_back({next_, std::move(pictureClass)});
    return next_++;
}

void PictureClasses::remove(Token token) {
    std::erase_if(entries_, [token](const Entry& entry) { return entry.token == token; });
}

const PictureClass* PictureClasses::find(std::string_view className) const {
    const auto found =
        std::find_if(entries_.rbegin(), entries_.rend(), [className](const Entry& entry) {
            return entry.pictureClass.className == className;
        });
    return found == entries_.rend() ? nullptr : &found->pictureClass;
}

PictureClasses& programPictureClasses() {
    static PictureClasses classes;
    return classes;
}

PictureClassRegistration::~PictureClassRegistration() {
    if (classes_ != nullptr) {
        classes_->remove(token_);
    }
}

PictureClassRegistration::PictureClassRegistration(PictureClassRegistration&& other) noexcept
    : classes_(std::exchange(other.classes_, nullptr)), token_(other.token_) {}

std::optional<DecodedBitmap> readPicturePayload(std::span<const std::uint8_t> payload,
                                                const PictureClasses& classes) {
    ByteReader reader(payload);
    const std::string className = reader.shortString();
    if (!reader.ok()) {
        throw PictureReadError();
    }
    const PictureClass* pictureClass = classes.find(className);
    if (pictureClass == nullptr) {
        return std::nullopt;
    }
    return pictureClass->read(reader);
}

} // namespace hk
