#pragma once

#include <utility>
#include <windows.h>

namespace hk {

// Owns one handle and gives it back to the platform with Close. Move-only: a copy would close
// the handle twice.
template <class Handle, auto Close> class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    void reset() {
        if (handle_ != nullptr) {
            Close(handle_);
            handle_ = nullptr;
        }
    }

    Handle handle_ = nullptr;
};

inline void deleteGdiObject(HGDIOBJ object) {
    DeleteObject(object);
}
inline void deleteMemoryDc(HDC dc) {
    DeleteDC(dc);
}

using UniqueBitmap = UniqueHandle<HBITMAP, deleteGdiObject>;
using UniquePalette = UniqueHandle<HPALETTE, deleteGdiObject>;
// A device context from CreateCompatibleDC; one from GetDC goes back with ScreenDc instead.
using UniqueMemoryDc = UniqueHandle<HDC, deleteMemoryDc>;

// The screen's device context, released again at the end of the scope.
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc_ != nullptr) {
            ReleaseDC(nullptr, dc_);
        }
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;

    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// Selects an object into a device context and puts the previous one back at the end of the
// scope. Declare the object before the guard, so it is deselected before it is deleted.
class SelectionGuard {
public:
    SelectionGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectionGuard() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) {
            SelectObject(dc_, previous_);
        }
    }
    SelectionGuard(const SelectionGuard&) = delete;
    SelectionGuard& operator=(const SelectionGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace hk
