#include "ProgramUnderTest.h"

#include "form/FormDescription.h"
#include "form/FormResource_win.h"
#include "hotkeys/HotkeyTable.h"
#include "platform/UniqueHandle_win.h"

#include <stdexcept>

namespace bench {

RECT widgetPlace(const std::string& widgetPath) {
    const hk::UniqueModule module(
        LoadLibraryExA(widgetPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) {
        throw std::runtime_error("cannot read " + widgetPath);
    }
    const hk::FormDescription form = hk::readFormDescription(hk::formResource(module.get()));
    return {form.left, form.top, form.left + form.clientWidth, form.top + form.clientHeight};
}

ProgramKind widgetKind(const std::string& path) {
    ProgramKind kind{"widget", path, false, {}, widgetPlace(path)};
    for (const hk::HotkeyRow& row : hk::kHotkeyTable) {
        kind.keys.push_back({row.modifiers, row.key});
    }
    return kind;
}

ProgramKind floorKind(const std::string& path, const RECT& place) {
    return {"floor", path, true, {{0, VK_F5}}, place};
}

namespace {

POINT windowCentre{};
COLORREF emptyScreen = CLR_INVALID;

COLORREF screenAtWindowCentre() {
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, windowCentre.x, windowCentre.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

} // namespace

void rememberEmptyScreen(const RECT& place) {
    windowCentre = {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
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
        for (const LONG edge : {kind.place.left, kind.place.top, kind.place.right - kind.place.left,
                                kind.place.bottom - kind.place.top}) {
            commandLine += ' ' + std::to_string(edge);
        }
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
