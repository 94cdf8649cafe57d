#pragma once

#include <utility>
#include <windows.h>

namespace hk {

// Owns one handle and gives it back to the platform with Release. Move-only: a copy would
// release the handle twice.
template <class Handle, auto Release> class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle(std::exchange(other.handle, nullptr)) {}
    // Safe on itself: the exchange empties this owner before reset looks at it.
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(std::exchange(other.handle, nullptr));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle; }
    explicit operator bool() const { return handle != nullptr; }
    void reset(Handle replacement = nullptr) {
        if (handle != nullptr) {
            Release(handle);
        }
        handle = replacement;
    }

private:
    Handle handle = nullptr;
};

using UniqueBitmap = UniqueHandle<HBITMAP, &::DeleteObject>;
using UniqueFont = UniqueHandle<HFONT, &::DeleteObject>;
// A device context from CreateCompatibleDC; one from GetDC goes back with WindowDc instead.
using UniqueMemoryDc = UniqueHandle<HDC, &::DeleteDC>;
using UniqueModule = UniqueHandle<HMODULE, &::FreeLibrary>;
// Memory that the platform allocated for the caller (FormatMessage's text).
using UniqueLocalMemory = UniqueHandle<HLOCAL, &::LocalFree>;

} // namespace hk
