#pragma once

#include <string>
#include <vector>
#include <windows.h>

namespace bench {

struct HotkeyCombo {
    UINT modifiers;
    UINT key;
};

// A forwarder started by the driver: the widget (19 hotkeys) or the floor (F5 only).
struct ProgramKind {
    std::string name;
    std::string path;
    bool takesTarget;              // the floor is told its target and place on the command line
    std::vector<HotkeyCombo> keys; // in registration order; the last is held last
    RECT place;                    // where its window shows
};

// Where the widget's stored form puts its window, read from the widget's executable.
RECT widgetPlace(const std::string& widgetPath);

ProgramKind widgetKind(const std::string& path);
// The floor shows its window at the widget's place, with the widget's size.
ProgramKind floorKind(const std::string& path, const RECT& place);

// True when another program holds the combination: registering it ourselves fails. The probe
// holds the key for an instant, which would make a program registering it just then fail; both
// forwarders register before they show their window, so the probe waits for the window.
bool isHeldElsewhere(const HotkeyCombo& combo);

class ProgramUnderTest {
public:
    ProgramUnderTest(const ProgramKind& kind, HWND target);
    ProgramUnderTest(const ProgramUnderTest&) = delete;
    ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;
    ~ProgramUnderTest();

    // Polls every millisecond until the window shows on screen and the last hotkey is held;
    // returns false after timeoutMs.
    bool waitReady(DWORD timeoutMs);
    bool holdsAllKeys() const;
    HANDLE process() const { return info.hProcess; }
    DWORD processId() const { return info.dwProcessId; }

private:
    const ProgramKind& kind;
    PROCESS_INFORMATION info{};
};

// The widget and the floor share the place and size of their window: it shows once the screen
// at its centre differs from the empty screen, sampled before the first program starts.
void rememberEmptyScreen(const RECT& place);
bool windowOnScreen();

} // namespace bench
