#pragma once

#include "form/FormReader.h"

#include <cstdint>
#include <vector>

namespace hk {

// Writes "TPF0" and the object tree in the stored layout, each value with the type byte of its
// kind; a string too long for its length byte is a FormReadError.
std::vector<std::uint8_t> writeForm(const ObjectRecord& root);

} // namespace hk
