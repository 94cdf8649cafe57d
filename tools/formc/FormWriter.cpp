#include "tools/formc/FormWriter.h"

#include "tools/bytewriter/ByteWriter.h"

#include <limits>
#include <string_view>

namespace hk {
namespace {

class Writer {
public:
    ByteWriter out;

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

    void text(std::string_view text) { out.text(text); }

private:
    void u8(std::uint8_t value) { out.u8(value); }

    void shortString(std::string_view text) {
        if (text.size() > std::numeric_limits<std::uint8_t>::max()) {
            raise<FormReadError>("\"" + std::string(text.substr(0, 20)) +
                                 "...\" is too long for a short string");
        }
        u8(static_cast<std::uint8_t>(text.size()));
        this->text(text);
    }

    // A zero length byte ends a list in the stored layout, so a list entry may not be empty.
    void name(std::string_view text) {
        if (text.empty()) {
            raise<FormReadError>("a class, property or set entry has an empty name");
        }
        shortString(text);
    }

    template <typename Bytes> void counted(const Bytes& data) {
        if (data.size() > std::numeric_limits<std::uint32_t>::max()) {
            raise<FormReadError>("a value is too long for its 32-bit length");
        }
        out.u32(static_cast<std::uint32_t>(data.size()));
        out.append({reinterpret_cast<const std::uint8_t*>(data.data()), data.size()});
    }

    void value(std::int8_t value) {
        u8(formtype::kInt8);
        u8(static_cast<std::uint8_t>(value));
    }
    void value(std::int16_t value) {
        u8(formtype::kInt16);
        out.u16(static_cast<std::uint16_t>(value));
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
    return std::move(writer.out.data);
}

} // namespace hk
