// The screen's pixels and the cursor, as the system shows them.
#include "../HexText.h"
#include "Canvas.h"
#include "Commands.h"
#include "platform/DcGuards_win.h"

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

// Prints "WIDTH HEIGHT", then the rectangle's (or the whole screen's) RGB bytes, rows top-down,
// in hex on one line.
int readScreen(Args args) {
    if (args.size() != 0 && args.size() != 4)
        return kBadUsage;
    const bool whole = args.empty();
    const int left = whole ? 0 : std::atoi(args[0]);
    const int top = whole ? 0 : std::atoi(args[1]);
    const int width = whole ? GetSystemMetrics(SM_CXSCREEN) : std::atoi(args[2]) - left;
    const int height = whole ? GetSystemMetrics(SM_CYSCREEN) : std::atoi(args[3]) - top;
    if (width <= 0 || height <= 0)
        return kBadUsage;
    const hk::WindowDc screen(nullptr);
    const Canvas canvas(screen.get(), width, height);
    if (!canvas)
        return 1;
    {
        const hk::SelectionGuard selected(canvas.memory.get(), canvas.bitmap.get());
        if (!BitBlt(canvas.memory.get(), 0, 0, width, height, screen.get(), left, top, SRCCOPY))
            return 1;
        GdiFlush();
    }
    std::string rgb;
    rgb.reserve(std::size_t(width) * height * 3);
    for (const std::uint32_t pixel : std::span(canvas.pixels(), std::size_t(width) * height))
        rgb += {char(pixel >> 16), char(pixel >> 8), char(pixel)};
    std::printf("%d %d\n%s\n", width, height, hexBytes(rgb).c_str());
    return 0;
}

// The cursor the system shows, and the stock hand and arrow as this process loads them: on
// Windows every process shares the stock cursors, so the handles compare.
int readCursor(Args) {
    CURSORINFO cursor{};
    cursor.cbSize = sizeof cursor;
    if (!GetCursorInfo(&cursor))
        return 1;
    std::printf("shown=%s\nhand=%s\narrow=%s\n", hex(cursor.hCursor).c_str(),
                hex(LoadCursorA(nullptr, IDC_HAND)).c_str(),
                hex(LoadCursorA(nullptr, IDC_ARROW)).c_str());
    return 0;
}
