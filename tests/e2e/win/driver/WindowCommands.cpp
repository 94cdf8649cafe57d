// Looking at windows of other processes and sending them messages.
#include "../HexText.h"
#include "Commands.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct Filter {
    const char* classPattern;
    const char* titlePattern;
    DWORD processId;
    std::vector<HWND> found;
};

bool matches(const char* pattern, const std::string& text) {
    return std::strcmp(pattern, "*") == 0 || text == pattern;
}

BOOL CALLBACK collect(HWND hwnd, LPARAM context) {
    auto& filter = *reinterpret_cast<Filter*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(hwnd, &processId);
    if (matches(filter.classPattern, className(hwnd)) &&
        matches(filter.titlePattern, windowText(hwnd)) &&
        (filter.processId == 0 || filter.processId == processId))
        filter.found.push_back(hwnd);
    return TRUE;
}

// Only the process that received the last input event may take the foreground. Where the plain
// call is refused, the driver gives itself that event: a press of a hotkey it holds for the
// moment, one that no program here holds.
bool bringForward(HWND window) {
    if (SetForegroundWindow(window))
        return true;
    constexpr int kHotkeyId = 1;
    if (!RegisterHotKey(nullptr, kHotkeyId, 0, VK_F24))
        return false;
    pressKeys("f24");
    const DWORD deadline = GetTickCount() + 2000;
    MSG message{};
    while (!PeekMessageA(&message, nullptr, WM_HOTKEY, WM_HOTKEY, PM_REMOVE) &&
           GetTickCount() < deadline)
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_HOTKEY);
    UnregisterHotKey(nullptr, kHotkeyId);
    return SetForegroundWindow(window);
}

} // namespace

std::string className(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string windowText(HWND window) {
    char text[2048] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void printRect(const char* name, const RECT& rect) {
    std::printf("%s=%ld,%ld,%ld,%ld\n", name, rect.left, rect.top, rect.right, rect.bottom);
}

int findWindows(Args args) {
    Filter filter{args[0], args[1], args.size() == 3 ? DWORD(parseNumber(args[2])) : 0, {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&filter));
    for (HWND hwnd : filter.found)
        std::printf("%s\n", hex(hwnd).c_str());
    return 0;
}

int windowInfo(Args args) {
    HWND hwnd = parseWindow(args[0]);
    if (!IsWindow(hwnd))
        return 1;
    DWORD processId = 0;
    const DWORD threadId = GetWindowThreadProcessId(hwnd, &processId);
    std::printf("class=%s\ntitle_hex=%s\nowner=%s\nparent=%s\nstyle=%s\nexstyle=%s\n",
                className(hwnd).c_str(), hexBytes(windowText(hwnd)).c_str(),
                hex(GetWindow(hwnd, GW_OWNER)).c_str(), hex(GetAncestor(hwnd, GA_PARENT)).c_str(),
                hex(DWORD(GetWindowLongPtrA(hwnd, GWL_STYLE))).c_str(),
                hex(DWORD(GetWindowLongPtrA(hwnd, GWL_EXSTYLE))).c_str());
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    printRect("rect", rect);
    GetClientRect(hwnd, &rect);
    printRect("client", rect);
    std::printf("visible=%d\niconic=%d\nzoomed=%d\nenabled=%d\ntid=%lu\npid=%lu\n",
                IsWindowVisible(hwnd) ? 1 : 0, IsIconic(hwnd) ? 1 : 0, IsZoomed(hwnd) ? 1 : 0,
                IsWindowEnabled(hwnd) ? 1 : 0, threadId, processId);
    return 0;
}

int editText(Args args) {
    HWND edit = FindWindowExA(parseWindow(args[0]), nullptr, "Edit", nullptr);
    if (!edit)
        return 1;
    LRESULT length = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
    std::vector<char> text(length + 1);
    SendMessageA(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    std::printf("%s\n", hexBytes(text.data()).c_str());
    return 0;
}

int foreground(Args args) {
    if (args.size() == 1 && !bringForward(parseWindow(args[0])))
        return 1;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(0, &info);
    std::printf("foreground=%s\nactive=%s\nfocus=%s\n", hex(GetForegroundWindow()).c_str(),
                hex(info.hwndActive).c_str(), hex(info.hwndFocus).c_str());
    // GUI_INMENUMODE and friends: a window in its menu loop swallows posted keys.
    std::printf("flags=%s\n", hex(info.flags).c_str());
    return 0;
}

int postMessage(Args args) {
    bool posted = PostMessageA(parseWindow(args[0]), UINT(parseNumber(args[1])),
                               WPARAM(parseNumber(args[2])), LPARAM(parseNumber(args[3])));
    std::printf("%s\n", posted ? "ok" : "fail");
    return posted ? 0 : 1;
}

int sendMessage(Args args) {
    DWORD_PTR result = 0;
    bool answered = SendMessageTimeoutA(parseWindow(args[0]), UINT(parseNumber(args[1])),
                                        WPARAM(parseNumber(args[2])), LPARAM(parseNumber(args[3])),
                                        SMTO_ABORTIFHUNG, 10000, &result);
    if (!answered)
        return 1;
    std::printf("%s\n", hex(result).c_str());
    return 0;
}

int windowProperty(Args args) {
    std::printf("%s\n", hex(GetPropA(parseWindow(args[0]), args[1])).c_str());
    return 0;
}
