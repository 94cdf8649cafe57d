// What the platform draws: the label text as a given font draws it, and the texts of a dialog's
// static controls.
#include "../HexText.h"
#include "Canvas.h"
#include "Commands.h"
#include "platform/DcGuards_win.h"
#include "platform/UniqueHandle_win.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include <windows.h>

namespace {

constexpr UINT kFormat = DT_LEFT | DT_EXPANDTABS;

// The text's pixels (0x00RRGGBB) in a box of width x height holding `beneath`, drawn as a label
// draws it.
std::vector<std::uint32_t> drawnText(HFONT font, const std::string& caption, int width, int height,
                                     COLORREF colour, const std::vector<std::uint32_t>& beneath) {
    const hk::WindowDc screen(nullptr);
    const Canvas canvas(screen.get(), width, height);
    if (!canvas)
        return {};
    const HDC memory = canvas.memory.get();
    std::copy(beneath.begin(), beneath.end(), canvas.pixels());
    {
        const hk::SelectionGuard bitmapSelected(memory, canvas.bitmap.get());
        const hk::SelectionGuard fontSelected(memory, font);
        SetTextColor(memory, colour);
        SetBkMode(memory, TRANSPARENT);
        RECT box{0, 0, width, height};
        DrawTextA(memory, caption.data(), static_cast<int>(caption.size()), &box, kFormat);
        GdiFlush();
    }
    return {canvas.pixels(), canvas.pixels() + static_cast<std::size_t>(width) * height};
}

hk::UniqueFont labelFont(const char* face, const char* height) {
    return hk::UniqueFont(CreateFontA(std::atoi(height), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                                      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                      DEFAULT_QUALITY, DEFAULT_PITCH, face));
}

// Prints "W H", then one row of pixels a line: each pixel '#' (drawn) or '.', or as hex RRGGBB.
void printRows(const std::vector<std::uint32_t>& pixels, int width, int height, bool asHex) {
    std::printf("%d %d\n", width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned rgb = pixels[y * width + x] & 0xFFFFFF;
            asHex ? std::printf("%06x", rgb) : std::printf("%c", rgb != 0 ? '#' : '.');
        }
        std::printf("\n");
    }
}

// Hex RRGGBB pixels, as 0x00RRGGBB: the layout of a 32-bit DIB section's pixels in memory.
std::vector<std::uint32_t> fromHexPixels(const std::string& text) {
    std::vector<std::uint32_t> pixels;
    for (std::size_t i = 0; i + 6 <= text.size(); i += 6)
        pixels.push_back(std::strtoul(text.substr(i, 6).c_str(), nullptr, 16));
    return pixels;
}

BOOL CALLBACK printStaticText(HWND child, LPARAM) {
    if (lstrcmpiA(className(child).c_str(), "Static") == 0)
        std::printf("%s\n", hexBytes(windowText(child)).c_str());
    return TRUE;
}

} // namespace

// The text (its 8-bit bytes in hex) measured and drawn white on black with DrawText DT_LEFT |
// DT_EXPANDTABS in the font FACE of that character height, its rows printed in '#' and '.'.
int measureText(Args args) {
    const std::string caption = fromHex(args[2]);
    const hk::UniqueFont font = labelFont(args[0], args[1]);
    RECT measured{};
    {
        const hk::WindowDc screen(nullptr);
        const hk::SelectionGuard selected(screen.get(), font.get());
        DrawTextA(screen.get(), caption.data(), static_cast<int>(caption.size()), &measured,
                  DT_CALCRECT | kFormat);
    }
    const int width = measured.right;
    const int height = measured.bottom;
    const std::vector<std::uint32_t> pixels =
        drawnText(font.get(), caption, width, height, RGB(255, 255, 255),
                  std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height));
    if (pixels.empty() && width * height != 0)
        return 1;
    printRows(pixels, width, height, false);
    return 0;
}

// The same text drawn in the colour RGB (hex RRGGBB) into a box of W x H that holds PIXELS (hex
// RRGGBB each, rows top-down), as a label draws over what lies beneath it, with whatever
// smoothing the font gets; its rows printed in hex RRGGBB.
int drawText(Args args) {
    const int width = std::atoi(args[3]);
    const int height = std::atoi(args[4]);
    const std::vector<std::uint32_t> beneath = fromHexPixels(args[6]);
    if (width <= 0 || height <= 0 || beneath.size() != static_cast<std::size_t>(width) * height)
        return kBadUsage;
    const std::uint32_t rgb = std::strtoul(args[5], nullptr, 16);
    const COLORREF colour = RGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF);
    const hk::UniqueFont font = labelFont(args[0], args[1]);
    const std::vector<std::uint32_t> pixels =
        drawnText(font.get(), fromHex(args[2]), width, height, colour, beneath);
    if (pixels.empty())
        return 1;
    printRows(pixels, width, height, true);
    return 0;
}

int dialogTexts(Args args) {
    return printChildren(args, printStaticText);
}
