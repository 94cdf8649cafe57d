#include "app/ErrorText.h"

#include <algorithm>

namespace hk {

namespace {

std::string hex8(std::uint32_t value) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text(8, '0');
    for (auto digit = text.rbegin(); digit != text.rend(); ++digit, value >>= 4) {
        *digit = kDigits[value & 0xF];
    }
    return text;
}

// Takes one <length><identifier> from the front of text; empty when there is none.
std::string_view takeSourceName(std::string_view& text) {
    std::size_t length = 0;
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        length = length * 10 + static_cast<std::size_t>(text[digits] - '0');
        if (length > text.size()) {
            return {};
        }
        ++digits;
    }
    if (length == 0 || digits + length > text.size()) {
        return {};
    }
    const std::string_view name = text.substr(digits, length);
    text.remove_prefix(digits + length);
    return name;
}

// Whether the text's last character is one of the marks that end a sentence in its script.
bool endsInMark(std::string_view text, const SentenceEnds& ends) {
    std::string_view last;
    forEachCharacter(text, ends.characterLength,
                     [&](std::size_t at, std::size_t length) { last = text.substr(at, length); });
    return std::ranges::find(ends.marks, last) != ends.marks.end();
}

} // namespace

// Compared as unsigned bytes: in an 8-bit code page every letter above 0x7F must count as "above
// the full stop" too.
std::string errorBoxText(std::string message, const SentenceEnds& ends) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > 0x2E &&
        !endsInMark(message, ends)) {
        message += '.';
    }
    return message;
}

// The offset is always shown in 8 hex digits, as in a 32-bit address, even in a 64-bit build.
std::string fatalErrorText(const std::string& typeName, const std::string& moduleName,
                           std::uintptr_t offset, const std::string& message,
                           const SentenceEnds& ends) {
    const std::string address = hex8(static_cast<std::uint32_t>(offset & 0xFFFFFFFFu));
    const char* stop =
        !message.empty() && message.back() != '.' && !endsInMark(message, ends) ? "." : "";
    return "Exception " + typeName + " in module " + moduleName + " at " + address + ".\r\n" +
           message + stop + "\r\n";
}

// Covers the names of the classes that can escape start-up: plain ("9Something"), standard
// ("St9bad_alloc") and nested ("N2hk11SystemErrorE") names. The library's full demangler would
// add more to the executable than all of the program's own code.
std::string readableTypeName(std::string_view mangled) {
    std::string_view rest = mangled;
    const bool nested = rest.starts_with('N');
    if (nested) {
        rest.remove_prefix(1);
    }
    std::string name;
    if (rest.starts_with("St")) {
        name = "std::";
        rest.remove_prefix(2);
    }
    for (std::string_view part = takeSourceName(rest); !part.empty();
         part = nested ? takeSourceName(rest) : std::string_view{}) {
        name.append(part).append("::");
    }
    if (nested) {
        if (!rest.starts_with('E')) {
            return std::string(mangled);
        }
        rest.remove_prefix(1);
    }
    if (!name.ends_with("::") || name == "std::" || !rest.empty()) {
        return std::string(mangled);
    }
    name.resize(name.size() - 2);
    return name;
}

} // namespace hk
