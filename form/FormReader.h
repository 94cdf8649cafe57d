#pragma once

#include "base/Error.h"

#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace hk {

// Any fault in a stored form description: the message says what was wrong and where.
class FormReadError : public Error {
public:
    FormReadError(const std::string& message, const void* address)
        : Error("FormReadError", message, address) {}
};

// The value types of a property record, one per type byte. The integer widths are kept apart so
// that a reader of the tree can tell how a number was stored.
struct Identifier {
    std::string name;
};
struct Utf8Text {
    std::string bytes;
};
struct IdentifierSet {
    std::vector<std::string> names;
};
using BinaryData = std::vector<std::uint8_t>;

using PropertyValue = std::variant<std::int8_t,   // type 2
                                   std::int16_t,  // type 3
                                   std::string,   // type 6: 8-bit text
                                   Identifier,    // type 7
                                   bool,          // types 8 and 9
                                   BinaryData,    // type 10
                                   IdentifierSet, // type 11
                                   Utf8Text>;     // type 20

struct PropertyRecord {
    std::string name; // dotted for a sub-object's property, e.g. "Font.Height"
    PropertyValue value;
};

struct ObjectRecord {
    std::string className;
    std::string name;
    std::vector<PropertyRecord> properties;
    std::vector<ObjectRecord> children;
};

namespace formtype {
constexpr std::uint8_t kInt8 = 2;
constexpr std::uint8_t kInt16 = 3;
constexpr std::uint8_t kString = 6;
constexpr std::uint8_t kIdentifier = 7;
constexpr std::uint8_t kFalse = 8;
constexpr std::uint8_t kTrue = 9;
constexpr std::uint8_t kBinary = 10;
constexpr std::uint8_t kSet = 11;
constexpr std::uint8_t kUtf8 = 20;
} // namespace formtype

constexpr char kFormSignature[] = "TPF0";

// Reads "TPF0" and the one root object record; the bytes must end exactly where it ends.
ObjectRecord readForm(std::span<const std::uint8_t> bytes);

} // namespace hk
