#pragma once

#include "picture/BitmapReader.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hk {

// How a picture class reads the rest of a payload, from the bitmap file's stored length on.
using PictureReader = DecodedBitmap (*)(ByteReader& reader);

struct PictureClass {
    std::string extension;
    std::string className;
    PictureReader read = nullptr;
};

// The picture classes that stored pictures may name, looked up by exact class name.
class PictureClasses {
public:
    using Token = std::uint64_t;

    // Returns the token that removes this registration again.
    Token add(PictureClass pictureClass);
    void remove(Token token);
    // The class registered last under exactly this name (case matters), or null.
    const PictureClass* find(std::string_view className) const;

private:
    struct Entry {
        Token token;
        PictureClass pictureClass;
    };
    std::vector<Entry> entries;
    Token nextToken = 0;
};

// The program's own registry: classes are added at start-up, before the form description is
// read, and removed at shut-down.
PictureClasses& programPictureClasses();

// Keeps one class registered for its lifetime.
class [[nodiscard]] PictureClassRegistration {
public:
    PictureClassRegistration(PictureClasses& classes, PictureClass pictureClass)
        : registry(&classes), token(classes.add(std::move(pictureClass))) {}
    ~PictureClassRegistration();
    PictureClassRegistration(PictureClassRegistration&& other) noexcept;
    PictureClassRegistration(const PictureClassRegistration&) = delete;
    PictureClassRegistration& operator=(const PictureClassRegistration&) = delete;

private:
    PictureClasses* registry;
    PictureClasses::Token token;
};

// Reads a picture payload: the class name, then the rest by that class. A name that no
// registered class carries gives no picture, and the rest is left unread. Throws what the
// class's reading throws, or PictureReadError when the name itself is cut short.
std::optional<DecodedBitmap> readPicturePayload(std::span<const std::uint8_t> payload,
                                                const PictureClasses& classes);

} // namespace hk
