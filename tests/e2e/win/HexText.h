#pragma once

// Texts cross the test tools' command lines and output as hex of their 8-bit bytes, so that no
// code page, quote or line break can change them on the way.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

inline std::string hexBytes(std::string_view text) {
    std::string hex;
    for (const unsigned char c : text) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", c);
        hex += pair;
    }
    return hex;
}

inline std::string fromHex(const char* hex) {
    std::string bytes;
    for (std::size_t i = 0; hex[i] != '\0' && hex[i + 1] != '\0'; i += 2) {
        const char pair[3] = {hex[i], hex[i + 1], '\0'};
        bytes.push_back(static_cast<char>(std::strtoul(pair, nullptr, 16)));
    }
    return bytes;
}
