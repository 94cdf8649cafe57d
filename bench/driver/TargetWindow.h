#pragma once

#include <windows.h>

namespace bench {

// The driver's own window, bound as the forwarders' target. Its window procedure stamps the
// arrival of each forwarded F5 (a key-down whose second parameter is 0, which a real key press
// never has) with the performance counter.
class TargetWindow {
public:
    explicit TargetWindow(HINSTANCE instance);
    HWND handle() const { return window; }

    // Forgets the last arrival; call before injecting a key.
    void expect() { arrivedAt = 0; }
    // Handles messages until the forwarded key arrives; its counter value, or 0 after timeoutMs.
    LONGLONG waitArrival(DWORD timeoutMs);
    // Handles whatever is queued without waiting.
    void drain();

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND window = nullptr;
    static LONGLONG arrivedAt;
};

LONGLONG now();
double microseconds(LONGLONG ticks);

} // namespace bench
