// Hotkeys, atoms and synthesised key and mouse input, as another program on the desktop sees
// them.
#include "Commands.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

// A key by virtual key, or by scan code: a physical key, which the active keyboard layout turns
// into a virtual key.
struct Key {
    WORD code;
    bool scan;
};

// The modifiers, then the key: each is held down until those after it are released, so the key
// arrives as a real chord rather than a bare modifier tap followed by the key.
using KeyChord = std::vector<Key>;

// Names are lower case: a-z, 0-9, f1-f24, num0-num9, a number such as 0x41, or "sc" and a scan
// code in hex (sc38 is the left Alt key).
std::optional<Key> keyCode(const std::string& name) {
    if (name.size() == 1 && name[0] >= 'a' && name[0] <= 'z')
        return Key{WORD(name[0] - 'a' + 'A'), false};
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9')
        return Key{WORD(name[0]), false};
    if (name.size() >= 2 && name[0] == 'f' && name[1] >= '1' && name[1] <= '9') {
        int number = std::atoi(name.c_str() + 1);
        if (number >= 1 && number <= 24)
            return Key{WORD(VK_F1 + number - 1), false};
    }
    if (name.size() == 4 && name.starts_with("num") && name[3] >= '0' && name[3] <= '9')
        return Key{WORD(VK_NUMPAD0 + name[3] - '0'), false};
    if (name.starts_with("0x"))
        return Key{WORD(parseNumber(name.c_str())), false};
    if (name.size() > 2 && name.starts_with("sc"))
        return Key{WORD(std::strtoul(name.c_str() + 2, nullptr, 16)), true};
    return std::nullopt;
}

std::optional<Key> chordPart(const std::string& name) {
    static constexpr std::pair<const char*, WORD> kModifiers[] = {
        {"alt", VK_MENU}, {"ctrl", VK_CONTROL}, {"shift", VK_SHIFT}, {"win", VK_LWIN}};
    for (const auto& [modifier, code] : kModifiers)
        if (name == modifier)
            return Key{code, false};
    return keyCode(name);
}

std::optional<KeyChord> parseChord(const std::string& text) {
    KeyChord chord;
    for (std::size_t start = 0, plus = 0; plus != std::string::npos; start = plus + 1) {
        plus = text.find('+', start);
        const std::string name = text.substr(start, plus - start);
        const std::optional<Key> key = plus == std::string::npos ? keyCode(name) : chordPart(name);
        if (!key)
            return std::nullopt;
        chord.push_back(*key);
    }
    return chord;
}

INPUT keyInput(Key key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    if (key.scan) {
        input.ki.wScan = key.code;
        input.ki.dwFlags = KEYEVENTF_SCANCODE;
    } else {
        input.ki.wVk = key.code;
        input.ki.wScan = WORD(MapVirtualKeyA(key.code, MAPVK_VK_TO_VSC));
    }
    input.ki.dwFlags |= up ? KEYEVENTF_KEYUP : 0;
    return input;
}

bool pressChord(const KeyChord& chord) {
    std::vector<INPUT> inputs;
    for (const Key key : chord)
        inputs.push_back(keyInput(key, false));
    for (auto key = chord.rbegin(); key != chord.rend(); ++key)
        inputs.push_back(keyInput(*key, true));
    return SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

// The system picks the window a mouse input goes to when the input comes, by the capture of
// that moment: a press that starts a move loop must have been handled before the next input is
// sent. A message sent twice to the window under the pointer returns once its thread has taken
// what came before; a thread may take seconds to get there, such as one that waits for a window
// it hides to be withdrawn. A press is given up to two seconds to take the capture or start a
// move loop, since the handler that starts one may answer sent messages on its way there, and a
// move sent before the loop starts is lost to it: the loop follows the mouse from where it is.
void settle(bool pressed) {
    POINT at{};
    GetCursorPos(&at);
    HWND window = WindowFromPoint(at);
    if (window == nullptr)
        return;
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    const DWORD start = GetTickCount();
    for (int round = 0; round < 2 || (pressed && GetTickCount() - start < 2000); ++round) {
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr);
        if (round > 0 && pressed &&
            GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) &&
            (thread.hwndCapture != nullptr || (thread.flags & GUI_INMOVESIZE) != 0))
            return;
    }
}

bool sendMouseInput(DWORD flags, LONG dx = 0, LONG dy = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    const bool sent = SendInput(1, &input, sizeof input) == 1;
    settle((flags & (MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_MIDDLEDOWN | MOUSEEVENTF_RIGHTDOWN)) != 0);
    return sent;
}

// Absolute coordinates run from 0 to 65535 over the virtual screen; the first value that maps to
// the pixel is taken, rounded up.
LONG normalised(int pixel, int origin, int extent) {
    return LONG((std::int64_t(pixel - origin) * 65536 + extent - 1) / extent);
}

} // namespace

// Under Wine a motion that the X server reports late can put the pointer back where it was; the
// move is sent again until the pointer stands where it was sent.
bool movePointer(int x, int y) {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (!sendMouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK,
                            normalised(x, left, GetSystemMetrics(SM_CXVIRTUALSCREEN)),
                            normalised(y, top, GetSystemMetrics(SM_CYVIRTUALSCREEN))))
            return false;
        POINT at{};
        if (GetCursorPos(&at) && at.x == x && at.y == y)
            return true;
        Sleep(10);
    }
    return false;
}

bool pressButton(int button, bool down) {
    static constexpr DWORD kFlags[][2] = {{MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN},
                                          {MOUSEEVENTF_MIDDLEUP, MOUSEEVENTF_MIDDLEDOWN},
                                          {MOUSEEVENTF_RIGHTUP, MOUSEEVENTF_RIGHTDOWN}};
    return button >= 1 && button <= 3 && sendMouseInput(kFlags[button - 1][down ? 1 : 0]);
}

bool pressKeys(const std::string& text) {
    const std::optional<KeyChord> chord = parseChord(text);
    return chord && pressChord(*chord);
}

int tryHotkeys(Args args) {
    for (const char* pair : args) {
        const char* colon = std::strchr(pair, ':');
        if (!colon)
            return kBadUsage;
        const bool registered =
            RegisterHotKey(nullptr, 1, UINT(parseNumber(pair)), UINT(parseNumber(colon + 1)));
        if (registered)
            UnregisterHotKey(nullptr, 1);
        std::printf("%s %s\n", pair, registered ? "ok" : "fail");
    }
    return 0;
}

int findAtoms(Args args) {
    for (const char* name : args)
        std::printf("%s %s\n", name, hex(GlobalFindAtomA(name)).c_str());
    return 0;
}

int sendKeys(Args args) {
    std::vector<KeyChord> chords;
    for (const char* text : args) {
        std::optional<KeyChord> chord = parseChord(text);
        if (!chord)
            return kBadUsage;
        chords.push_back(*chord);
    }
    for (const KeyChord& chord : chords)
        if (!pressChord(chord))
            return 1;
    return 0;
}

// Buttons are numbered as X numbers them: 1 left, 2 middle, 3 right. A move prints where the
// pointer then stands.
int sendMouse(Args args) {
    if (args.size() == 3 && std::strcmp(args[0], "move") == 0) {
        if (!movePointer(std::atoi(args[1]), std::atoi(args[2])))
            return 1;
        POINT at{};
        GetCursorPos(&at);
        std::printf("%ld %ld\n", at.x, at.y);
        return 0;
    }
    if (args.size() == 2 && (std::strcmp(args[0], "down") == 0 || std::strcmp(args[0], "up") == 0))
        return pressButton(std::atoi(args[1]), args[0][0] == 'd') ? 0 : 1;
    return kBadUsage;
}
