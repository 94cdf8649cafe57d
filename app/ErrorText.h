#pragma once

#include "platform/AnsiText.h"

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace hk {

// The marks beside '.' and '!' that end a sentence: the ideographic, full-width and half-width
// full stops and the full-width exclamation mark of Chinese and Japanese text.
inline constexpr std::wstring_view kWideSentenceEnds = L"\u3002\uFF0E\uFF61\uFF01";

// How the system's 8-bit text ends a sentence: the platform's bytes for each of
// kWideSentenceEnds that its code page has, and how long its characters are, so that the end of
// a longer character is not taken for a mark.
struct SentenceEnds {
    CharacterLength characterLength;
    std::vector<std::string> marks;
};

// The text of the error box: a full stop is added after a last character above '.', unless that
// character already ends a sentence.
std::string errorBoxText(std::string message, const SentenceEnds& ends);

// The text of the box that ends a failed start-up: a full stop is added after a message that
// ends in no '.' and no mark of `ends`.
std::string fatalErrorText(const std::string& typeName, const std::string& moduleName,
                           std::uintptr_t offset, const std::string& message,
                           const SentenceEnds& ends);

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
