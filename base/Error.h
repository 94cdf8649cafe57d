#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace hk {

// The program's own errors carry their type name and the code address that raised them, so the
// start-up failure box can say where a failure arose.
class Error : public std::runtime_error {
public:
    Error(const char* typeName, const std::string& message, const void* address)
        : std::runtime_error(message), name(typeName), raisedAt(address) {}

    const char* typeName() const { return name; }
    const void* address() const { return raisedAt; }

private:
    const char* name;
    const void* raisedAt;
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
