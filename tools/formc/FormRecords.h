#pragma once

// The stored form's records compared whole: formc reads back what it wrote before it keeps it,
// and the tests of the reader, the writer and the text source check the trees they make. The
// program itself never compares two records.
#include "form/FormReader.h"

namespace hk {

inline bool operator==(const Identifier& a, const Identifier& b) {
    return a.name == b.name;
}

inline bool operator==(const Utf8Text& a, const Utf8Text& b) {
    return a.bytes == b.bytes;
}

inline bool operator==(const IdentifierSet& a, const IdentifierSet& b) {
    return a.names == b.names;
}

inline bool operator==(const PropertyRecord& a, const PropertyRecord& b) {
    return a.name == b.name && a.value == b.value;
}

inline bool operator==(const ObjectRecord& a, const ObjectRecord& b) {
    return a.className == b.className && a.name == b.name && a.properties == b.properties &&
           a.children == b.children;
}

} // namespace hk
