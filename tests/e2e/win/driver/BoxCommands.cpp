// Message boxes: what one of another process shows, its buttons pressed with the mouse, and
// boxes of the driver's own, shown by the platform for comparison.
#include "../HexText.h"
#include "Commands.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <windows.h>

namespace {

BOOL CALLBACK printPart(HWND child, LPARAM) {
    const bool isStatic = lstrcmpiA(className(child).c_str(), "Static") == 0;
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if (isStatic && (style & SS_TYPEMASK) == SS_ICON) {
        RECT rect{};
        GetWindowRect(child, &rect);
        printRect("icon", rect);
    } else if (isStatic) {
        std::printf("text=%s\n", hexBytes(windowText(child)).c_str());
    } else if (lstrcmpiA(className(child).c_str(), "Button") == 0 && (style & WS_VISIBLE) != 0) {
        std::printf("button=%d,%s\n", GetDlgCtrlID(child), hexBytes(windowText(child)).c_str());
    }
    return TRUE;
}

struct BoxRequest {
    UINT flags;
    std::string caption;
    std::string text;
};

DWORD WINAPI showRequested(void* parameter) {
    const std::unique_ptr<BoxRequest> request(static_cast<BoxRequest*>(parameter));
    return DWORD(
        MessageBoxA(nullptr, request->text.c_str(), request->caption.c_str(), request->flags));
}

} // namespace

// A message box's parts, a line each: text=HEX (the message's 8-bit bytes), icon=L,T,R,B (the
// icon's place on the screen), button=ID,HEX (each push button, in creation order).
int boxFacts(Args args) {
    return printChildren(args, printPart);
}

// A real press: the pointer goes to the button's centre and the left button goes down and up.
int clickButton(Args args) {
    const HWND button = GetDlgItem(parseWindow(args[0]), std::atoi(args[1]));
    RECT rect{};
    if (button == nullptr || !GetWindowRect(button, &rect))
        return 1;
    const bool clicked = movePointer((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2) &&
                         pressButton(1, true) && pressButton(1, false);
    return clicked ? 0 : 1;
}

// MessageBoxA without owner (CAPTION and TEXT in hex), on a thread of its own that ends when the
// box is answered.
int showBox(Args args) {
    auto request = std::make_unique<BoxRequest>(
        BoxRequest{UINT(parseNumber(args[0])), fromHex(args[1]), fromHex(args[2])});
    const UniqueKernelHandle thread(
        CreateThread(nullptr, 0, showRequested, request.get(), 0, nullptr));
    if (!thread)
        return 1;
    request.release();
    return 0;
}
