#pragma once

#include "platform/AnsiText.h"

namespace hk::test {

// Lead bytes of a double-byte code page laid out like Japanese Shift-JIS (code page 932), whose
// trail bytes include 0x5C, the backslash.
inline bool isShiftJisLead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The lengths of characters by the program's rule for a system code page: Western (1252),
// Japanese (932, the platform's lead bytes as above) or UTF-8 (65001, no byte of which the
// platform calls a double-byte lead byte).
inline CharacterLength lengthsIn(unsigned codePage) {
    return [codePage](unsigned char byte) {
        return characterLength(codePage, byte, codePage == 932 && isShiftJisLead(byte));
    };
}

} // namespace hk::test
