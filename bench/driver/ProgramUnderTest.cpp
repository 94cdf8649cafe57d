#include "ProgramUnderTest.h"

#include "hotkeys/HotkeyTable.h"

#include <stdexcept>

namespace bench {

ProgramKind widgetKind(const std::string& path) {
    ProgramKind kind{"widget", path, false, {}};
    for (const hk::HotkeyRow& row : hk::kHotkeyTable) {
        kind.keys.push_back({row.modifiers, row.key});
    }
    return kind;
}

ProgramKind floorKind(const std::string& path) {
    return {"floor", path, true, {{0, VK_F5}}};
}

namespace {

constexpr POINT kWindowCentre{260 + 101, 227 + 34};
COLORREF emptyScreen = CLR_INVALID;

COLORREF screenAtWindowCentre() {
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, kWindowCentre.x, kWindowCentre.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

} // namespace

void rememberEmptyScreen() {
    emptyScreen = screenAtWindowCentre();
}

bool windowOnScreen() {
    return screenAtWindowCentre() != emptyScreen;
}

bool isHeldElsewhere(const HotkeyCombo& combo) {
    constexpr int kProbeId = 0xBFFF;
    if (RegisterHotKey(nullptr, kProbeId, combo.modifiers, combo.key)) {
        UnregisterHotKey(nullptr, kProbeId);
        return false;
    }
    return true;
}

ProgramUnderTest::ProgramUnderTest(const ProgramKind& kind, HWND target) : kind(kind) {
    std::string commandLine = '"' + kind.path;
    commandLine += '"';
    if (kind.takesTarget) {
        commandLine += ' ' + std::to_string(reinterpret_cast<ULONG_PTR>(target));
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        throw std::runtime_error("cannot start " + kind.path);
    }
}

// Terminating frees the window and its hotkeys at once; an orderly close would spend seconds
// hiding the window. The next program may start only once the keys are free again.
ProgramUnderTest::~ProgramUnderTest() {
    TerminateProcess(info.hProcess, 0);
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    for (int i = 0; i < 5000 && (isHeldElsewhere(kind.keys.back()) || windowOnScreen()); ++i) {
        Sleep(1);
    }
}

bool ProgramUnderTest::waitReady(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (windowOnScreen() && isHeldElsewhere(kind.keys.back())) {
            return true;
        }
        if (WaitForSingleObject(info.hProcess, 1) == WAIT_OBJECT_0) {
            return false;
        }
    }
    return false;
}

bool ProgramUnderTest::holdsAllKeys() const {
    for (const HotkeyCombo& combo : kind.keys) {
        if (!isHeldElsewhere(combo)) {
            return false;
        }
    }
    return true;
}

} // namespace bench
