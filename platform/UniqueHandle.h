#pragma once

#include <ole2.h>
#include <utility>
#include <windows.h>

namespace hk {

// Owns one handle and releases it with Release; move-only so no copy can release it twice.
template <class Handle, auto Release> class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle(std::exchange(other.handle, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(std::exchange(other.handle, nullptr));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle; }
    explicit operator bool() const { return handle != nullptr; }
    Handle release() { return std::exchange(handle, nullptr); }
    void reset(Handle replacement = nullptr) {
        if (handle != nullptr) {
            Release(handle);
        }
        handle = replacement;
    }

private:
    Handle handle = nullptr;
};

using UniqueHwnd = UniqueHandle<HWND, &::DestroyWindow>;
using UniqueGdiObject = UniqueHandle<HGDIOBJ, &::DeleteObject>;
using UniqueBitmap = UniqueHandle<HBITMAP, &::DeleteObject>;
using UniqueFont = UniqueHandle<HFONT, &::DeleteObject>;
using UniqueMemoryDc = UniqueHandle<HDC, &::DeleteDC>;
// Only for icons the program creates; icons from LoadIcon are shared and never destroyed.
using UniqueIcon = UniqueHandle<HICON, &::DestroyIcon>;

// A window's drawing surface from GetDC, handed back with ReleaseDC.
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

// Selects an object into a surface and selects the previous one back; declare the object before
// the guard so the selection is undone before the object is deleted.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc(dc), previous(::SelectObject(dc, object)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() { ::SelectObject(dc, previous); }

private:
    HDC dc;
    HGDIOBJ previous;
};

// OLE for the thread for the whole run. S_FALSE ("already initialised") is a success and still
// needs its OleUninitialize, so only a failure skips it.
class OleSession {
public:
    OleSession() : initialised(SUCCEEDED(::OleInitialize(nullptr))) {}
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
    ~OleSession() {
        if (initialised) {
            ::OleUninitialize();
        }
    }

private:
    bool initialised;
};

// COM, initialised once more inside the OLE session; the same S_FALSE rule applies.
class ComSession {
public:
    ComSession() : initialised(SUCCEEDED(::CoInitialize(nullptr))) {}
    ComSession(const ComSession&) = delete;
    ComSession& operator=(const ComSession&) = delete;
    ~ComSession() {
        if (initialised) {
            ::CoUninitialize();
        }
    }

private:
    bool initialised;
};

} // namespace hk
