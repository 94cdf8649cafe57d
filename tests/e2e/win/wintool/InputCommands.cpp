// Hotkeys, atoms and synthesised key presses, as another program on the desktop sees them.
#include "Commands.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

struct KeyChord {
    std::vector<WORD> modifiers;
    WORD key;
};

std::optional<WORD> modifierKey(const std::string& name) {
    if (name == "alt")
        return VK_MENU;
    if (name == "ctrl")
        return VK_CONTROL;
    if (name == "shift")
        return VK_SHIFT;
    if (name == "win")
        return VK_LWIN;
    return std::nullopt;
}

// Names are lower case: a-z, 0-9, f1-f24, num0-num9, or a number such as 0x41.
std::optional<WORD> keyCode(const std::string& name) {
    if (name.size() == 1 && name[0] >= 'a' && name[0] <= 'z')
        return WORD(name[0] - 'a' + 'A');
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9')
        return WORD(name[0]);
    if (name.size() >= 2 && name[0] == 'f' && name[1] >= '1' && name[1] <= '9') {
        int number = std::atoi(name.c_str() + 1);
        if (number >= 1 && number <= 24)
            return WORD(VK_F1 + number - 1);
    }
    if (name.size() == 4 && name.starts_with("num") && name[3] >= '0' && name[3] <= '9')
        return WORD(VK_NUMPAD0 + name[3] - '0');
    if (name.starts_with("0x"))
        return WORD(parseNumber(name.c_str()));
    return std::nullopt;
}

std::optional<KeyChord> parseChord(const std::string& text) {
    KeyChord chord{};
    std::size_t start = 0;
    for (std::size_t plus; (plus = text.find('+', start)) != std::string::npos; start = plus + 1) {
        std::optional<WORD> modifier = modifierKey(text.substr(start, plus - start));
        if (!modifier)
            return std::nullopt;
        chord.modifiers.push_back(*modifier);
    }
    std::optional<WORD> key = keyCode(text.substr(start));
    if (!key)
        return std::nullopt;
    chord.key = *key;
    return chord;
}

INPUT keyInput(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = WORD(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// The modifiers stay down across the key and are released after it, in reverse order, so the
// key arrives as a real chord rather than a bare modifier tap followed by the key.
bool pressChord(const KeyChord& chord) {
    std::vector<INPUT> inputs;
    for (WORD modifier : chord.modifiers)
        inputs.push_back(keyInput(modifier, false));
    inputs.push_back(keyInput(chord.key, false));
    inputs.push_back(keyInput(chord.key, true));
    for (auto modifier = chord.modifiers.rbegin(); modifier != chord.modifiers.rend(); ++modifier)
        inputs.push_back(keyInput(*modifier, true));
    return SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

} // namespace

int tryHotkeys(Args args) {
    if (args.empty())
        return kBadUsage;
    int id = 1;
    for (const char* pair : args) {
        const char* colon = std::strchr(pair, ':');
        if (!colon)
            return kBadUsage;
        UINT modifiers = UINT(parseNumber(pair));
        UINT key = UINT(parseNumber(colon + 1));
        bool registered = RegisterHotKey(nullptr, id, modifiers, key);
        if (registered)
            UnregisterHotKey(nullptr, id);
        std::printf("%s %s\n", pair, registered ? "ok" : "fail");
        ++id;
    }
    return 0;
}

int findAtoms(Args args) {
    if (args.empty())
        return kBadUsage;
    for (const char* name : args)
        std::printf("%s %s\n", name, hex(GlobalFindAtomA(name)).c_str());
    return 0;
}

int sendKeys(Args args) {
    if (args.empty())
        return kBadUsage;
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
