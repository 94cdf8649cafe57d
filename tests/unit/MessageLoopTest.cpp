#include "app/MessageLoop.h"

#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace hk {
namespace {

constexpr unsigned kPaint = 0x000F;
constexpr unsigned kHotKey = 0x0312;
constexpr unsigned kKeyDown = 0x0100;
constexpr unsigned kKeyUp = 0x0101;
constexpr unsigned kSysDeadChar = 0x0107;
constexpr unsigned kMouseMove = 0x0200;

// A queue fed from a script; an empty entry stands for a moment when no message is waiting.
class ScriptedQueue : public MessageQueue {
public:
    std::optional<unsigned> take() override {
        if (script.empty()) {
            throw std::logic_error("the loop read past the end of the script");
        }
        current = script.front();
        script.pop_front();
        return current;
    }
    bool formClaimsKey() override {
        log.push_back("offer " + std::to_string(*current));
        return *current == claimedKey;
    }
    void translateAndDispatch() override {
        log.push_back("dispatch " + std::to_string(*current));
        if (handler) {
            handler(*current);
        }
    }
    void waitForMessage() override { log.push_back("wait"); }

    std::deque<std::optional<unsigned>> script;
    std::optional<unsigned> current;
    unsigned claimedKey = 0;
    std::function<void(unsigned)> handler;
    std::vector<std::string> log;
};

class RecordingReporter : public ErrorReporter {
public:
    void report(const std::exception& error) noexcept override { messages.push_back(error.what()); }
    std::vector<std::string> messages;
};

TEST(MessageLoop, DispatchesUntilQuitOfferingOnlyKeyboardMessagesToTheFormFirst) {
    ScriptedQueue queue;
    RecordingReporter reporter;
    queue.script = {kPaint,       std::nullopt, kKeyDown, kKeyUp,
                    kSysDeadChar, kMouseMove,   kWmQuit,  kPaint};
    queue.claimedKey = kKeyUp;
    MessageLoop loop(queue, reporter);

    loop.run();

    EXPECT_EQ(queue.log,
              (std::vector<std::string>{"dispatch 15", "wait", "offer 256", "dispatch 256",
                                        "offer 257", "offer 263", "dispatch 263", "dispatch 512"}));
    EXPECT_EQ(queue.script.size(), 1u); // nothing is taken after the quit message
    EXPECT_TRUE(reporter.messages.empty());
}

TEST(MessageLoop, ErrorEscapingAHandlerIsReportedAndLaterMessagesAreStillDispatched) {
    ScriptedQueue queue;
    RecordingReporter reporter;
    queue.script = {kHotKey, kPaint, kHotKey, kMouseMove, kWmQuit};
    queue.handler = [](unsigned message) {
        if (message == kHotKey) {
            throw std::runtime_error("handler failed");
        }
    };
    MessageLoop loop(queue, reporter);

    loop.run();

    EXPECT_EQ(reporter.messages, (std::vector<std::string>{"handler failed", "handler failed"}));
    EXPECT_EQ(queue.log, (std::vector<std::string>{"dispatch 786", "dispatch 15", "dispatch 786",
                                                   "dispatch 512"}));
}

TEST(MessageLoop, TerminatingFromAHandlerEndsTheLoopWithoutAQuitMessage) {
    ScriptedQueue queue;
    RecordingReporter reporter;
    queue.script = {kPaint, kMouseMove, kPaint};
    MessageLoop loop(queue, reporter);
    queue.handler = [&loop](unsigned message) {
        if (message == kMouseMove) {
            loop.terminate();
        }
    };

    loop.run();

    EXPECT_EQ(queue.log, (std::vector<std::string>{"dispatch 15", "dispatch 512"}));
}

} // namespace
} // namespace hk
