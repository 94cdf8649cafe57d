#pragma once

#include <windows.h>

namespace hk {

// A window's drawing surface from GetDC, handed back with ReleaseDC; no window means the screen.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window(window), dc(::GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc != nullptr) {
            ::ReleaseDC(window, dc);
        }
    }
    HDC get() const { return dc; }

private:
    HWND window;
    HDC dc;
};

// BeginPaint and its EndPaint.
class PaintGuard {
public:
    explicit PaintGuard(HWND window) : window(window) { ::BeginPaint(window, &paint); }
    PaintGuard(const PaintGuard&) = delete;
    PaintGuard& operator=(const PaintGuard&) = delete;
    ~PaintGuard() { ::EndPaint(window, &paint); }
    HDC dc() const { return paint.hdc; }
    const RECT& area() const { return paint.rcPaint; }

private:
    HWND window;
    PAINTSTRUCT paint{};
};

// Selects an object into a surface and selects the previous one back. Declare the object before
// the guard, so that it is deselected before it is deleted.
class SelectionGuard {
public:
    SelectionGuard(HDC dc, HGDIOBJ object) : dc(dc), previous(::SelectObject(dc, object)) {}
    SelectionGuard(const SelectionGuard&) = delete;
    SelectionGuard& operator=(const SelectionGuard&) = delete;
    ~SelectionGuard() {
        if (previous != nullptr && previous != HGDI_ERROR) {
            ::SelectObject(dc, previous);
        }
    }

private:
    HDC dc;
    HGDIOBJ previous;
};

// SaveDC and its RestoreDC: whatever is changed on the surface in between (origin, clipping,
// selections, colours) is undone at the end of the scope.
class SavedDcState {
public:
    explicit SavedDcState(HDC dc) : dc(dc), level(::SaveDC(dc)) {}
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;
    ~SavedDcState() {
        if (level != 0) {
            ::RestoreDC(dc, level);
        }
    }

private:
    HDC dc;
    int level;
};

} // namespace hk
