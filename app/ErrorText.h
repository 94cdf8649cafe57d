#pragma once

#include <cstdint>
#include <exception>
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

// The text that `build` makes, kept in `built`, or else the error's own message. Building a text
// needs memory, which may be what ran out; the error's own message, as it stands, needs none.
// Whatever building throws, the error's own message is shown.
template <class Build>
const char* builtOrOwnMessage(std::string& built, const std::exception& error,
                              Build build) noexcept {
    try {
        built = build();
        return built.c_str();
    } catch (...) {
        return error.what();
    }
}

} // namespace hk
