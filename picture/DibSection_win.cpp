#include "picture/DibSection_win.h"

#include "base/Error.h"
#include "picture/BitmapReader.h"
#include "platform/SystemErrorText_win.h"

#include <algorithm>
#include <vector>

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

DibSection createDibSection(HDC dc, int width, int height, WORD bitCount,
                            std::span<const RGBQUAD> colors) {
    std::vector<std::uint8_t> storage(sizeof(BITMAPINFOHEADER) + sizeof(RGBQUAD) * colors.size());
    auto& header = *reinterpret_cast<BITMAPINFOHEADER*>(storage.data());
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bitCount;
    header.biCompression = BI_RGB;
    header.biClrUsed = static_cast<DWORD>(colors.size());
    std::copy(colors.begin(), colors.end(),
              reinterpret_cast<RGBQUAD*>(storage.data() + sizeof header));
    return createDibSection(dc, *reinterpret_cast<const BITMAPINFO*>(storage.data()));
}

} // namespace hk
