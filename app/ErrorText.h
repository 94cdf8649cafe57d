#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace hk {

// The text of the error box: a full stop is added after a last character above '.'.
std::string errorBoxText(std::string message);

// The text of the box that ends a failed start-up.
std::string fatalErrorText(const std::string& typeName, const std::string& moduleName,
                           std::uintptr_t offset, const std::string& message);

// The source spelling of a class from its mangled type name, or the mangled name itself when it
// is not a plain, standard or nested class name.
std::string readableTypeName(std::string_view mangled);

} // namespace hk
