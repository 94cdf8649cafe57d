#include "picture/DibSection_win.h"

#include "base/Error.h"
#include "picture/BitmapReader.h"
#include "platform/SystemErrorText_win.h"

#include <utility>

namespace hk {

void failWithLastError() {
    if (::GetLastError() == ERROR_SUCCESS) {
        raise<InvalidBitmap>();
    }
    raiseLastError(SystemErrorWording::TextOnly);
}

DibSection createDibSection(HDC dc, const BITMAPINFO& info) {
    SetLastError(ERROR_SUCCESS);
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr) {
        failWithLastError();
    }
    // The memory's size as the platform laid it out, not as the header claims it.
    DIBSECTION section = {};
    if (GetObject(bitmap.get(), sizeof section, &section) != sizeof section) {
        failWithLastError();
    }
    const auto size = static_cast<std::size_t>(section.dsBm.bmWidthBytes) *
                      static_cast<std::size_t>(section.dsBm.bmHeight);
    return {std::move(bitmap), {static_cast<std::uint8_t*>(bits), size}};
}

DibSection createDibSection(HDC dc, int width, int height, WORD bitCount) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bitCount;
    info.bmiHeader.biCompression = BI_RGB;
    return createDibSection(dc, info);
}

} // namespace hk
