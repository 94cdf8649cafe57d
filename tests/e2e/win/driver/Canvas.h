#pragma once

// A 32-bit top-down DIB section with a memory DC to draw into it: pixels 0x00RRGGBB, rows
// top-down, as the screen's and a label's pixels are read and written.
#include "platform/UniqueHandle_win.h"

#include <cstdint>
#include <windows.h>

class Canvas {
public:
    Canvas(HDC screen, int width, int height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        bitmap =
            hk::UniqueBitmap(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        memory = hk::UniqueMemoryDc(CreateCompatibleDC(screen));
    }
    explicit operator bool() const { return bitmap && memory; }
    std::uint32_t* pixels() const { return static_cast<std::uint32_t*>(bits); }

    void* bits = nullptr;
    hk::UniqueBitmap bitmap;
    hk::UniqueMemoryDc memory;
};
