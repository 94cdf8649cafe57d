#pragma once

#include <ole2.h>
#include <windows.h>

namespace hk {

// Keeps one of the platform's per-thread libraries initialised for as long as it lives.
// S_FALSE ("already initialised") is a success and still needs its Uninitialize, so only a
// failure skips it.
template <auto Initialize, auto Uninitialize> class ThreadLibrarySession {
public:
    ThreadLibrarySession() : initialised(SUCCEEDED(Initialize(nullptr))) {}
    ThreadLibrarySession(const ThreadLibrarySession&) = delete;
    ThreadLibrarySession& operator=(const ThreadLibrarySession&) = delete;
    ~ThreadLibrarySession() {
        if (initialised) {
            Uninitialize();
        }
    }

private:
    bool initialised;
};

// The link labels hand their pages to the shell, which may pass them on to handlers that it
// activates through COM and that expect a single-threaded apartment with OLE on the calling
// thread. So the program's one thread enters it for the whole run: OLE first, and COM once more
// inside it; each is left in reverse order at shut-down.
using OleSession = ThreadLibrarySession<&::OleInitialize, &::OleUninitialize>;
using ComSession = ThreadLibrarySession<&::CoInitialize, &::CoUninitialize>;

} // namespace hk
