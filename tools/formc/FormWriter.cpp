#include "tools/formc/FormWriter.h"

#include <algorithm>
#include <limits>
#include <string_view>

namespace hk {
namespace {

class Writer {
public:
    std::vector<std::uint8_t> bytes;

    void object(const ObjectRecord& record) {
        name(record.className);
        shortString(record.name);
        for (const PropertyRecord& property : record.properties) {
            name(property.name);
            std::visit([this](const auto& value) { this->value(value); }, property.value);
        }
        u8(0);
        for (const ObjectRecord& child : record.children) {
            object(child);
        }
        u8(0);
    }

    void text(std::string_view text) { append(text); }

private:
    // Grows first and copies after: vector::insert after push_back trips a false warning of GCC 12.
    template <typename Bytes> void append(const Bytes& data) {
        const std::size_t start = bytes.size();
        bytes.resize(start + data.size());
        std::copy(data.begin(), data.end(), bytes.begin() + static_cast<std::ptrdiff_t>(start));
    }

    void u8(std::uint8_t value) { bytes.push_back(value); }

    void le(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i) {
            u8(static_cast<std::uint8_t>(value >> 8 * i));
        }
    }

    void shortString(std::string_view text) {
        if (text.size() > std::numeric_limits<std::uint8_t>::max()) {
            throw FormReadError("\"" + std::string(text.substr(0, 20)) +
                                "...\" is too long for a short string");
        }
        u8(static_cast<std::uint8_t>(text.size()));
        this->text(text);
    }

    // A zero length byte ends a list in the stored layout, so a list entry may not be empty.
    void name(std::string_view text) {
        if (text.empty()) {
            throw FormReadError("a class, property or set entry has an empty name");
        }
        shortString(text);
    }

    template <typename Bytes> void counted(const Bytes& data) {
        if (data.size() > std::numeric_limits<std::uint32_t>::max()) {
            throw FormReadError("a value is too long for its 32-bit length");
        }
        le(static_cast<std::uint32_t>(data.size()), 4);
        append(data);
    }

    void value(std::int8_t value) {
        u8(formtype::kInt8);
        u8(static_cast<std::uint8_t>(value));
    }
    void value(std::int16_t value) {
        u8(formtype::kInt16);
        le(static_cast<std::uint16_t>(value), 2);
    }
    void value(const std::string& value) {
        u8(formtype::kString);
        shortString(value);
    }
    void value(const Identifier& value) {
        u8(formtype::kIdentifier);
        shortString(value.name);
    }
    void value(bool value) { u8(value ? formtype::kTrue : formtype::kFalse); }
    void value(const BinaryData& value) {
        u8(formtype::kBinary);
        counted(value);
    }
    void value(const IdentifierSet& value) {
        u8(formtype::kSet);
        for (const std::string& entry : value.names) {
            name(entry);
        }
        u8(0);
    }
    void value(const Utf8Text& value) {
        u8(formtype::kUtf8);
        counted(value.bytes);
    }
};

} // namespace

std::vector<std::uint8_t> writeForm(const ObjectRecord& root) {
    Writer writer;
    writer.text(kFormSignature);
    writer.object(root);
    return std::move(writer.bytes);
}

} // namespace hk
