#include "app/MessageLoop_win.h"

#include "widget/Form1_win.h"

namespace hk {

std::optional<unsigned> Win32MessageQueue::take() {
    if (!::PeekMessageA(&current, nullptr, 0, 0, PM_REMOVE)) {
        return std::nullopt;
    }
    return current.message;
}

bool Win32MessageQueue::formClaimsKey() {
    return form.claimsKey(current);
}

void Win32MessageQueue::translateAndDispatch() {
    ::TranslateMessage(&current);
    ::DispatchMessageA(&current);
}

void Win32MessageQueue::waitForMessage() {
    ::WaitMessage();
}

} // namespace hk
