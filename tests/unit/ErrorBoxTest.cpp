#include "app/ErrorBox.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <new>
#include <ostream>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

// While set, every allocation through operator new on this thread fails, as when memory has run
// out in the middle of a report. The replacement serves the whole test program.
thread_local bool allocationsFail = false;

} // namespace

void* operator new(std::size_t size) {
    if (allocationsFail) {
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace hk {
namespace {

static_assert(noexcept(std::declval<ErrorBox&>().report(std::declval<const std::exception&>())),
              "the error box is shown from the platform's frames, which no exception may cross");

constexpr WindowHandle kOwner = 0x10;
constexpr WindowHandle kWidget = 0x20;

struct Listed {
    WindowHandle window;
    bool visible;
    bool enabled;
};

enum class Call { CancelCapture, Disable, Enable, Box, Front, Focus };

struct Recorded {
    Call call;
    WindowHandle window;
    bool operator==(const Recorded&) const = default;
};

void PrintTo(const Recorded& recorded, std::ostream* out) {
    static constexpr const char* kNames[] = {"cancel capture", "disable", "enable",
                                             "box near",       "front",   "focus"};
    *out << kNames[static_cast<int>(recorded.call)] << " 0x" << std::hex << recorded.window;
}

// Records the calls in order. Its storage is reserved ahead, so recording needs no memory while
// allocations fail.
class FakeErrorBoxPlatform : public ErrorBoxPlatform {
public:
    FakeErrorBoxPlatform() { calls.reserve(32); }

    void cancelMouseCapture() noexcept override { calls.push_back({Call::CancelCapture, 0}); }
    KeyboardPlace keyboardPlace() noexcept override { return before; }
    WindowHandle boxOwner() noexcept override { return kOwner; }
    void listTopLevelWindows(WindowsToDisable& into) noexcept override {
        for (const Listed& window : windows) {
            ++offered;
            if (!into.add(window.window, window.visible, window.enabled)) {
                return;
            }
        }
    }
    void enableWindow(WindowHandle window, bool enabled) noexcept override {
        calls.push_back({enabled ? Call::Enable : Call::Disable, window});
    }
    void showBox(const char* text, WindowHandle active) noexcept override {
        calls.push_back({Call::Box, active});
        std::strncpy(shownText, text, sizeof shownText - 1);
    }
    void bringToFront(WindowHandle window) noexcept override {
        calls.push_back({Call::Front, window});
    }
    void setFocus(WindowHandle window) noexcept override { calls.push_back({Call::Focus, window}); }

    std::vector<Listed> windows = {{kOwner, true, true}, {kWidget, true, true}};
    KeyboardPlace before;
    std::vector<Recorded> calls;
    int offered = 0;
    char shownText[128] = "";
};

// Long enough that the text is built in allocated memory, and ending in a letter, so the box adds
// a full stop.
const std::runtime_error kNoLabel("The form has no label for target slot 1");

TEST(ErrorBox, DisablesEveryVisibleEnabledWindowButTheBoxOwnerWhileTheBoxIsUp) {
    FakeErrorBoxPlatform platform;
    constexpr WindowHandle kHidden = 0x30, kDisabled = 0x40, kSecond = 0x50;
    platform.windows = {{kHidden, false, true},
                        {kWidget, true, true},
                        {kOwner, true, true},
                        {kDisabled, true, false},
                        {kSecond, true, true}};
    ErrorBox box(platform);

    box.report(kNoLabel);

    EXPECT_EQ(platform.calls, (std::vector<Recorded>{{Call::CancelCapture, 0},
                                                     {Call::Disable, kWidget},
                                                     {Call::Disable, kSecond},
                                                     {Call::Box, 0},
                                                     {Call::Enable, kWidget},
                                                     {Call::Enable, kSecond}}));
    EXPECT_STREQ(platform.shownText, "The form has no label for target slot 1.");
}

TEST(ErrorBox, GivesTheKeyboardBackWhereItWasOnceTheBoxIsDismissed) {
    constexpr WindowHandle kGame = 0x99, kFocus = 0x21;
    const struct {
        const char* where;
        KeyboardPlace before;
        std::vector<Recorded> after;
    } cases[] = {
        {"the widget was active, with the focus on a child",
         {kWidget, true, kWidget, kFocus},
         {{Call::Front, kWidget}, {Call::Focus, kFocus}}},
        {"another program's window was in front", {kGame, false, 0, 0}, {{Call::Front, kGame}}},
        {"no window was in front", {0, false, 0, 0}, {}},
    };
    for (const auto& c : cases) {
        FakeErrorBoxPlatform platform;
        platform.before = c.before;
        ErrorBox box(platform);

        box.report(kNoLabel);

        const auto shown = std::find(platform.calls.begin(), platform.calls.end(),
                                     Recorded{Call::Box, c.before.active});
        ASSERT_NE(shown, platform.calls.end()) << c.where;
        const std::vector<Recorded> afterBox(shown + 2, platform.calls.end()); // past Enable
        EXPECT_EQ(afterBox, c.after) << c.where;
    }
}

TEST(ErrorBox, WithoutMemoryShowsTheErrorsOwnMessageAndDisablesNothing) {
    FakeErrorBoxPlatform platform;
    platform.before = {kWidget, true, kWidget, kWidget};
    ErrorBox box(platform);

    allocationsFail = true;
    box.report(kNoLabel);
    allocationsFail = false;

    EXPECT_STREQ(platform.shownText, "The form has no label for target slot 1");
    EXPECT_EQ(platform.offered, 2) << "the owner is passed over, the widget ends the listing";
    EXPECT_EQ(platform.calls, (std::vector<Recorded>{{Call::CancelCapture, 0},
                                                     {Call::Box, kWidget},
                                                     {Call::Front, kWidget},
                                                     {Call::Focus, kWidget}}));
}

} // namespace
} // namespace hk
