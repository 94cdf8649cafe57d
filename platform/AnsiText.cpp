#include "platform/AnsiText.h"

namespace hk {
namespace {

constexpr unsigned kUtf7CodePage = 65000;
// What the system's code page is with Windows' "Use Unicode UTF-8 for worldwide language
// support" on.
constexpr unsigned kUtf8CodePage = 65001;

} // namespace

// The platform's UTF-8 is converted from UTF-16, so a lead byte's trail bytes follow it. A byte
// that leads nothing (a trail byte, or one that UTF-8 never uses) stands alone.
std::size_t characterLength(unsigned codePage, unsigned char byte, bool isDoubleByteLead) {
    if (codePage != kUtf8CodePage) {
        return isDoubleByteLead ? 2 : 1;
    }
    if (byte >= 0xC2 && byte <= 0xDF) {
        return 2;
    }
    if (byte >= 0xE0 && byte <= 0xEF) {
        return 3;
    }
    return byte >= 0xF0 && byte <= 0xF4 ? 4 : 1;
}

bool lowersAsSingleByte(unsigned codePage, unsigned char byte) {
    return byte < 0x80 || codePage != kUtf8CodePage;
}

bool convertsExactly(unsigned codePage) {
    return codePage != kUtf7CodePage && codePage != kUtf8CodePage;
}

} // namespace hk
