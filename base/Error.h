#pragma once

#include <exception>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

namespace hk {

// The program's own errors carry their type name and the code address that raised them, so the
// start-up failure box can say where a failure arose. Not built on std::runtime_error or its kin
// (std::logic_error, std::length_error and the rest): in the static Windows build those classes
// bring a second, reference-counted string implementation with them, a sixth of the 32-bit
// executable.
class Error : public std::exception {
public:
    Error(const char* typeName, std::string message, const void* address)
        : text(std::make_shared<const std::string>(std::move(message))), name(typeName),
          raisedAt(address) {}

    const char* what() const noexcept override { return text->c_str(); }
    const char* typeName() const { return name; }
    const void* address() const { return raisedAt; }

private:
    // Shared, so that copying an error cannot throw.
    std::shared_ptr<const std::string> text;
    const char* name;
    const void* raisedAt;
};
static_assert(std::is_nothrow_copy_constructible_v<Error>);

// A caller broke a function's rule: a fault of the program, never of the data it reads.
class InvalidArgument : public Error {
public:
    InvalidArgument(const std::string& message, const void* address)
        : Error("InvalidArgument", message, address) {}
};

// A platform call failed; the message is the platform's reason.
class SystemError : public Error {
public:
    SystemError(const std::string& message, const void* address)
        : Error("SystemError", message, address) {}
};

class WindowClassError : public Error {
public:
    WindowClassError(const std::string& message, const void* address)
        : Error("WindowClassError", message, address) {}
};

// A resource that the program carries is missing from its executable.
class ResourceNotFound : public Error {
public:
    ResourceNotFound(const std::string& message, const void* address)
        : Error("ResourceNotFound", message, address) {}
};

// Kept out of line so its return address lies in the function that raises the error.
template <class E, class... Args> [[noreturn]] [[gnu::noinline]] void raise(Args&&... args) {
    throw E(std::forward<Args>(args)...,
            __builtin_extract_return_addr(__builtin_return_address(0)));
}

} // namespace hk
