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
#include <cstring>
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
    if (!canvas) {
        return {};
    }
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

} // namespace

// text FACE HEIGHT HEX: a text (its 8-bit bytes in hex) measured and drawn white on black with
// DrawText DT_LEFT | DT_EXPANDTABS in the font FACE of that character height; prints "W H",
// then one row of '#' and '.' a line.
int measureText(Args args) {
    if (args.size() != 3) {
        return kBadUsage;
    }
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
    if (pixels.empty() && width * height != 0) {
        return 1;
    }

    std::printf("%d %d\n", width, height);
    for (int y = 0; y < height; ++y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            row.push_back((pixels[y * width + x] & 0xFFFFFF) != 0 ? '#' : '.');
        }
        std::printf("%s\n", row.c_str());
    }
    return 0;
}

namespace {

// Hex RRGGBB pixels, as 0x00RRGGBB: the layout of a 32-bit DIB section's pixels in memory.
std::vector<std::uint32_t> fromHexPixels(const char* hex) {
    const std::string bytes = fromHex(hex);
    std::vector<std::uint32_t> pixels;
    for (std::size_t i = 0; i + 2 < bytes.size(); i += 3) {
        const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(bytes[at]); };
        pixels.push_back(std::uint32_t(byte(i)) << 16 | std::uint32_t(byte(i + 1)) << 8 |
                         byte(i + 2));
    }
    return pixels;
}

} // namespace

// draw FACE HEIGHT HEX W H RGB PIXELS: the same text drawn in the colour RGB (hex RRGGBB) into a
// box of W x H that holds PIXELS (hex RRGGBB each, rows top-down), as a label draws over what
// lies beneath it, with whatever smoothing the font gets; prints "W H", then one row of hex
// RRGGBB pixels a line.
int drawText(Args args) {
    if (args.size() != 7) {
        return kBadUsage;
    }
    const int width = std::atoi(args[3]);
    const int height = std::atoi(args[4]);
    const std::vector<std::uint32_t> beneath = fromHexPixels(args[6]);
    if (width <= 0 || height <= 0 || beneath.size() != static_cast<std::size_t>(width) * height) {
        return kBadUsage;
    }
    const std::uint32_t rgb = std::strtoul(args[5], nullptr, 16);
    const COLORREF colour = RGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF);
    const hk::UniqueFont font = labelFont(args[0], args[1]);
    const std::vector<std::uint32_t> pixels =
        drawnText(font.get(), fromHex(args[2]), width, height, colour, beneath);
    if (pixels.empty()) {
        return 1;
    }

    std::printf("%d %d\n", width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::printf("%06x", static_cast<unsigned>(pixels[y * width + x] & 0xFFFFFF));
        }
        std::printf("\n");
    }
    return 0;
}

namespace {

BOOL CALLBACK printStaticText(HWND child, LPARAM) {
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") == 0) {
        char text[1024] = {};
        GetWindowTextA(child, text, sizeof text);
        std::printf("%s\n", hexBytes(text).c_str());
    }
    return TRUE;
}

} // namespace

int dialogTexts(Args args) {
    return printChildren(args, printStaticText);
}
