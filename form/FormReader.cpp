#include "form/FormReader.h"

#include "base/ByteReader.h"

#include <cstring>

namespace hk {
namespace {

// Only the form has children; the cap keeps hostile nesting from exhausting the stack.
constexpr int kMaxNesting = 16;

class FormParser {
public:
    explicit FormParser(std::span<const std::uint8_t> bytes) : reader(bytes) {}

    ObjectRecord form() {
        const auto signature = reader.bytes(4);
        if (signature.size() != 4 || std::memcmp(signature.data(), kFormSignature, 4) != 0) {
            fail("does not start with \"TPF0\"");
        }
        ObjectRecord root = object(u8(), 0);
        if (!reader.atEnd()) {
            fail("has " + std::to_string(reader.remaining()) + " bytes after the form's record");
        }
        return root;
    }

private:
    [[noreturn]] void fail(const std::string& what) const {
        raise<FormReadError>("Form description " + what);
    }

    // Every read goes through here: a read past the end is reported at the offset it started.
    template <typename T> T checked(std::size_t start, T value) const {
        if (!reader.ok()) {
            fail("ends early (at byte " + std::to_string(start) + ")");
        }
        return value;
    }

    std::uint8_t u8() {
        const std::size_t start = reader.position();
        return checked(start, reader.u8());
    }

    std::string shortString() {
        const std::size_t start = reader.position();
        return checked(start, reader.shortString());
    }

    // A 32-bit byte count, then that many bytes.
    std::span<const std::uint8_t> counted() {
        const std::size_t start = reader.position();
        const std::size_t count = reader.u32();
        return checked(start, reader.bytes(count));
    }

    // The length byte of the class name has been read already: for a child it is what tells
    // another object from the zero byte that ends the list, so no class name is ever empty.
    ObjectRecord object(std::uint8_t classNameLength, int depth) {
        if (depth > kMaxNesting) {
            fail("nests objects too deeply");
        }
        const std::size_t start = reader.position();
        if (classNameLength == 0) {
            fail("has an object without a class name (at byte " + std::to_string(start - 1) + ")");
        }
        ObjectRecord record;
        const auto className = checked(start, reader.bytes(classNameLength));
        record.className.assign(className.begin(), className.end());
        record.name = shortString();
        for (std::string name = shortString(); !name.empty(); name = shortString()) {
            record.properties.push_back({name, value(name)});
        }
        while (const std::uint8_t length = u8()) {
            record.children.push_back(object(length, depth + 1));
        }
        return record;
    }

    PropertyValue value(const std::string& property) {
        const std::size_t start = reader.position();
        switch (const std::uint8_t type = u8()) {
        case formtype::kInt8:
            return checked(start, reader.i8());
        case formtype::kInt16:
            return checked(start, reader.i16());
        case formtype::kString:
            return shortString();
        case formtype::kIdentifier:
            return Identifier{shortString()};
        case formtype::kFalse:
            return false;
        case formtype::kTrue:
            return true;
        case formtype::kBinary: {
            const auto data = counted();
            return BinaryData(data.begin(), data.end());
        }
        case formtype::kSet: {
            IdentifierSet set;
            for (std::string name = shortString(); !name.empty(); name = shortString()) {
                set.names.push_back(name);
            }
            return set;
        }
        case formtype::kUtf8: {
            const auto text = counted();
            return Utf8Text{{text.begin(), text.end()}};
        }
        default:
            fail("has an unknown value type " + std::to_string(type) + " for " + property +
                 " (at byte " + std::to_string(start) + ")");
        }
    }

    ByteReader reader;
};

} // namespace

ObjectRecord readForm(std::span<const std::uint8_t> bytes) {
    return FormParser(bytes).form();
}

} // namespace hk
