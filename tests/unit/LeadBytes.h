#pragma once

namespace hk::test {

// Lead bytes of a double-byte code page laid out like Japanese Shift-JIS (code page 932), whose
// trail bytes include 0x5C, the backslash.
inline bool isShiftJisLead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// A single-byte code page.
inline bool noLeadBytes(unsigned char) {
    return false;
}

} // namespace hk::test
