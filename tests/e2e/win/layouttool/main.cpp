// layouttool.exe btnface                         the button-face colour as "R G B"
// layouttool.exe text FACE HEIGHT HEX [W H]      a text (its 8-bit bytes in hex) drawn white on
//                                             black with DrawText DT_LEFT | DT_EXPANDTABS in
//                                             the font FACE of that character height, into a
//                                             box of W x H (default: the text's measure);
//                                             prints "W H", then one row of '#' and '.' a line
// layouttool.exe dialogtext HWND              the texts of a dialog's static controls, a line
//                                             each
#include "../HexText.h"
#include "platform/DcGuards_win.h"
#include "platform/UniqueHandle_win.h"

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

// The text's pixels in a box of width x height, drawn as a label draws it.
std::vector<std::uint32_t> drawText(HFONT font, const std::string& caption, int width, int height) {
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
    {
        const hk::SelectionGuard bitmapSelected(memory.get(), bitmap.get());
        const hk::SelectionGuard fontSelected(memory.get(), font);
        SetTextColor(memory.get(), RGB(255, 255, 255));
        SetBkMode(memory.get(), TRANSPARENT);
        RECT box{0, 0, width, height};
        DrawTextA(memory.get(), caption.data(), static_cast<int>(caption.size()), &box, kFormat);
        GdiFlush();
    }
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    return {pixels, pixels + static_cast<std::size_t>(width) * height};
}

int text(int argc, char** argv) {
    if (argc != 5 && argc != 7) {
        return 2;
    }
    const std::string caption = fromHex(argv[4]);
    const hk::UniqueFont font(CreateFontA(std::atoi(argv[3]), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                                          DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                          DEFAULT_QUALITY, DEFAULT_PITCH, argv[2]));
    RECT measured{};
    {
        const hk::WindowDc screen(nullptr);
        const hk::SelectionGuard selected(screen.get(), font.get());
        DrawTextA(screen.get(), caption.data(), static_cast<int>(caption.size()), &measured,
                  DT_CALCRECT | kFormat);
    }
    const int width = argc == 7 ? std::atoi(argv[5]) : measured.right;
    const int height = argc == 7 ? std::atoi(argv[6]) : measured.bottom;
    const std::vector<std::uint32_t> pixels = drawText(font.get(), caption, width, height);

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
    if (argc == 3 && std::strcmp(argv[1], "dialogtext") == 0) {
        return dialogText(argv[2]);
    }
    std::fputs("layouttool btnface | text FACE HEIGHT HEX [W H] | dialogtext HWND\n", stderr);
    return 2;
}
