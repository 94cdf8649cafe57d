#pragma once

#include <ole2.h>
#include <windows.h>

namespace hk {

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
