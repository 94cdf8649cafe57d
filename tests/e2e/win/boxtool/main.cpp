// boxtool.exe facts HWND                 a message box's parts, a line each:
//                                          text=HEX      the message (8-bit bytes in hex)
//                                          icon=L,T,R,B  the icon's place on the screen
//                                          button=ID,HEX each push button, in creation order
// boxtool.exe click HWND ID              presses the box's button ID with the mouse
// boxtool.exe show FLAGS CAPTION TEXT    shows MessageBoxA without owner (CAPTION and TEXT in
//                                        hex); exits with the button pressed
#include "../HexText.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <windows.h>

namespace {

HWND handleArgument(const char* text) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::strtoull(text, nullptr, 0)));
}

std::string windowText(HWND window) {
    char text[2048] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK printPart(HWND child, LPARAM) {
    char className[32] = "";
    GetClassNameA(child, className, sizeof className);
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if (lstrcmpiA(className, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
        RECT rect{};
        GetWindowRect(child, &rect);
        std::printf("icon=%ld,%ld,%ld,%ld\n", rect.left, rect.top, rect.right, rect.bottom);
    } else if (lstrcmpiA(className, "Static") == 0) {
        std::printf("text=%s\n", hexBytes(windowText(child)).c_str());
    } else if (lstrcmpiA(className, "Button") == 0 && (style & WS_VISIBLE) != 0) {
        std::printf("button=%d,%s\n", GetDlgCtrlID(child), hexBytes(windowText(child)).c_str());
    }
    return TRUE;
}

int facts(const char* box) {
    const HWND window = handleArgument(box);
    if (!IsWindow(window)) {
        return 1;
    }
    EnumChildWindows(window, printPart, 0);
    return 0;
}

// A real press: the pointer goes to the button's centre and the left button goes down and up.
int click(const char* box, const char* id) {
    const HWND button = GetDlgItem(handleArgument(box), std::atoi(id));
    RECT rect{};
    if (button == nullptr || !GetWindowRect(button, &rect)) {
        return 1;
    }
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    INPUT presses[2] = {};
    presses[0].type = presses[1].type = INPUT_MOUSE;
    presses[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    presses[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return SendInput(2, presses, sizeof(INPUT)) == 2 ? 0 : 1;
}

int show(const char* flags, const char* caption, const char* text) {
    const auto style = static_cast<UINT>(std::strtoul(flags, nullptr, 0));
    return MessageBoxA(nullptr, fromHex(text).c_str(), fromHex(caption).c_str(), style);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "facts") == 0) {
        return facts(argv[2]);
    }
    if (argc == 4 && std::strcmp(argv[1], "click") == 0) {
        return click(argv[2], argv[3]);
    }
    if (argc == 5 && std::strcmp(argv[1], "show") == 0) {
        return show(argv[2], argv[3], argv[4]);
    }
    std::fputs("boxtool facts HWND | click HWND ID | show FLAGS CAPTION TEXT\n", stderr);
    return 2;
}
