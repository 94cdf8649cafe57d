#pragma once

#include "platform/UniqueHandle_win.h"

#include <cstdint>
#include <span>
#include <windows.h>

namespace hk {

// A section bitmap and the pixel memory the platform made for it.
struct DibSection {
    UniqueBitmap bitmap;
    std::span<std::uint8_t> bits;
};

// Makes a section bitmap as the header and colour table describe it (colour usage RGB values).
// Throws SystemError with the platform's text for its last error, or InvalidBitmap when
// the platform gives no reason.
DibSection createDibSection(HDC dc, const BITMAPINFO& info);

// A bottom-up section of width × height at the given depth, without a colour table.
DibSection createDibSection(HDC dc, int width, int height, WORD bitCount);

// Throws for the platform's last error, as createDibSection does.
[[noreturn]] void failWithLastError();

} // namespace hk
