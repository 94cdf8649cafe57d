#pragma once

#include "base/ErrorReporter.h"

#include <optional>

namespace hk {

constexpr unsigned kWmQuit = 0x0012;
constexpr unsigned kFirstKeyboardMessage = 0x0100;
constexpr unsigned kLastKeyboardMessage = 0x0108;

// The thread's message queue; the message taken last is the "current" one.
class MessageQueue {
public:
    virtual ~MessageQueue() = default;
    // Removes the next message without waiting and returns its number, or nothing when empty.
    virtual std::optional<unsigned> take() = 0;
    // Whether the form's own key handling claims the current (keyboard) message.
    virtual bool formClaimsKey() = 0;
    virtual void translateAndDispatch() = 0;
    virtual void waitForMessage() = 0;
};

class MessageLoop {
public:
    MessageLoop(MessageQueue& queue, ErrorReporter& reporter);

    void run();
    // Ends the loop after the current message, as at log-off.
    void terminate() { terminated = true; }

private:
    void step();

    MessageQueue& queue;
    ErrorReporter& reporter;
    bool terminated = false;
};

} // namespace hk
