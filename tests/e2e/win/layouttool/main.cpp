// layouttool.exe btnface                         the button-face colour as "R G B"
// layouttool.exe text FACE HEIGHT HEX            a text (its 8-bit bytes in hex) measured and
//                                             drawn white on black with DrawText DT_LEFT |
//                                             DT_EXPANDTABS in the font FACE of that character
//                                             height; prints "W H", then one row of '#' and
//                                             '.' a line
// layouttool.exe draw FACE HEIGHT HEX W H RGB PIXELS
//                                             the same text drawn in the colour RGB (hex
//                                             RRGGBB) into a box of W x H that holds PIXELS
//                                             (hex RRGGBB each, rows top-down), as a label
//                                             draws over what lies beneath it, with whatever
//                                             smoothing the font gets; prints "W H", then one
//                                             row of hex RRGGBB pixels a line
// layouttool.exe dialogtext HWND              the texts of a dialog's static controls, a line
//                                             each
#include "../HexText.h"
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

int buttonFace() {
    const COLORREF colour = GetSysColor(COLOR_BTNFACE);
    std::printf("%u %u %u\n", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return 0;
}

constexpr UINT kFormat = DT_LEFT | DT_EXPANDTABS;

// The text's pixels (0x00RRGGBB) in a box of width x height holding `beneath`, drawn as a label
// draws it.
std::vector<std::uint32_t> drawText(HFONT font, const std::string& caption, int width, int height,
                                    COLORREF colour, const std::vector<std::uint32_t>& beneath) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const hk::WindowDc screen(nullptr);
    const hk::UniqueBitmap bitmap(
        CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const hk::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    if (!bitmap || !memory) {
        std::exit(1);
    }
    std::copy(beneath.begin(), beneath.end(), static_cast<std::uint32_t*>(bits));
    {
        const hk::SelectionGuard bitmapSelected(memory.get(), bitmap.get());
        const hk::SelectionGuard fontSelected(memory.get(), font);
        SetTextColor(memory.get(), colour);
        SetBkMode(memory.get(), TRANSPARENT);
        RECT box{0, 0, width, height};
        DrawTextA(memory.get(), caption.data(), static_cast<int>(caption.size()), &box, kFormat);
        GdiFlush();
    }
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    return {pixels, pixels + static_cast<std::size_t>(width) * height};
}

hk::UniqueFont labelFont(const char* face, const char* height) {
    return hk::UniqueFont(CreateFontA(std::atoi(height), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                                      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                      DEFAULT_QUALITY, DEFAULT_PITCH, face));
}

int text(int argc, char** argv) {
    if (argc != 5) {
        return 2;
    }
    const std::string caption = fromHex(argv[4]);
    const hk::UniqueFont font = labelFont(argv[2], argv[3]);
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
        drawText(font.get(), caption, width, height, RGB(255, 255, 255),
                 std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height));

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

int draw(int argc, char** argv) {
    if (argc != 9) {
        return 2;
    }
    const int width = std::atoi(argv[5]);
    const int height = std::atoi(argv[6]);
    const std::vector<std::uint32_t> beneath = fromHexPixels(argv[8]);
    if (width <= 0 || height <= 0 || beneath.size() != static_cast<std::size_t>(width) * height) {
        return 2;
    }
    const std::uint32_t rgb = std::strtoul(argv[7], nullptr, 16);
    const COLORREF colour = RGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF);
    const hk::UniqueFont font = labelFont(argv[2], argv[3]);
    const std::vector<std::uint32_t> pixels =
        drawText(font.get(), fromHex(argv[4]), width, height, colour, beneath);

    std::printf("%d %d\n", width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::printf("%06x", static_cast<unsigned>(pixels[y * width + x] & 0xFFFFFF));
        }
        std::printf("\n");
    }
    return 0;
}

BOOL CALLBACK printStaticText(HWND child, LPARAM) {
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") == 0) {
        char text[1024] = {};
        GetWindowTextA(child, text, sizeof text);
        std::printf("%s\n", text);
    }
    return TRUE;
}

int dialogText(const char* window) {
    const auto dialog = reinterpret_cast<HWND>(std::strtoull(window, nullptr, 0));
    if (!IsWindow(dialog)) {
        return 1;
    }
    EnumChildWindows(dialog, printStaticText, 0);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "btnface") == 0) {
        return buttonFace();
    }
    if (argc >= 2 && std::strcmp(argv[1], "text") == 0) {
        return text(argc, argv);
    }
    if (argc >= 2 && std::strcmp(argv[1], "draw") == 0) {
        return draw(argc, argv);
    }
    if (argc == 3 && std::strcmp(argv[1], "dialogtext") == 0) {
        return dialogText(argv[2]);
    }
    std::fputs("layouttool btnface | text FACE HEIGHT HEX | draw FACE HEIGHT HEX W H RGB PIXELS | "
               "dialogtext HWND\n",
               stderr);
    return 2;
}
