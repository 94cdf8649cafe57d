#include "app/MessageLoop.h"

namespace hk {

MessageLoop::MessageLoop(MessageQueue& queue, ErrorReporter& reporter)
    : queue(queue), reporter(reporter) {}

void MessageLoop::run() {
    while (!terminated) {
        try {
            step();
        } catch (const std::exception& error) {
            reporter.report(error);
        }
    }
}

void MessageLoop::step() {
    const std::optional<unsigned> message = queue.take();
    if (!message) {
        queue.waitForMessage();
        return;
    }
    if (*message == kWmQuit) {
        terminated = true;
        return;
    }
    const bool isKey = *message >= kFirstKeyboardMessage && *message <= kLastKeyboardMessage;
    if (isKey && queue.formClaimsKey()) {
        return;
    }
    queue.translateAndDispatch();
}

} // namespace hk
