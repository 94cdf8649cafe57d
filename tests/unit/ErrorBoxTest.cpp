#include "app/ErrorBox.h"

#include "app/FatalBox.h"
#include "base/Error.h"
#include "tests/unit/LeadBytes.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <utility>
#include <vector>

// While set, every allocation through operator new on this thread fails (ReplacedOperatorNew.cpp).
extern thread_local bool allocationsFail;

namespace hk {
namespace {

static_assert(noexcept(std::declval<ErrorBox&>().report(std::declval<const std::exception&>())),
              "the error box is shown from the platform's frames, which no exception may cross");
static_assert(noexcept(showFatalError(std::declval<FatalBoxPlatform&>(),
                                      std::declval<const std::exception&>())),
              "the fatal box is shown from the entry point's catch, which nothing may leave");

constexpr ThreadId kOwnThread = 1, kGameThread = 2, kOtherThread = 3;
constexpr WindowHandle kOwner = 0x10, kWidget = 0x20, kFocus = 0x21;
constexpr WindowHandle kGame = 0x90, kOtherGame = 0x91;
constexpr WindowHandle kFirstBox = 0x70; // each further box takes the next handle

// Two monitors side by side, the second's top above the first's; a window is on the monitor that
// holds its top-left corner.
constexpr MonitorId kLeftMonitor = 1, kRightMonitor = 2;
constexpr PixelRect kLeftArea{0, 0, 1920, 1080}, kRightArea{1920, -200, 3200, 824};
constexpr PixelRect kOnTheLeft{300, 200, 300, 200}; // the zero-sized application window's place

struct FakeWindow {
    WindowHandle window;
    bool visible = true;
    bool enabled = true;
    ThreadId thread = kOwnThread;
    bool topLevel = true;
    PixelRect area = kOnTheLeft;
};

enum class Call { CancelCapture, Disable, Enable, Box, Front, Focus, Move };

// A move is recorded with the window's new top-left corner.
struct Recorded {
    Call call;
    WindowHandle window;
    int left = 0;
    int top = 0;
    bool operator==(const Recorded&) const = default;
};

void PrintTo(const Recorded& recorded, std::ostream* out) {
    static constexpr const char* kNames[] = {"cancel capture", "disable", "enable", "box owned by",
                                             "front",          "focus",   "move"};
    *out << kNames[static_cast<int>(recorded.call)] << " 0x" << std::hex << recorded.window;
    if (recorded.call == Call::Move) {
        *out << std::dec << " to (" << recorded.left << ", " << recorded.top << ")";
    }
}

// Records the program's calls in order, and keeps the windows as the platform would: a box is a
// window of the program's thread while it stands, and it disables its owner meanwhile, enabling
// it again only if it was enabled before, as Windows' dialog manager does. Its storage is
// reserved ahead, so recording needs no memory while allocations fail.
class FakeErrorBoxPlatform : public ErrorBoxPlatform, public MonitorPlatform {
public:
    FakeErrorBoxPlatform() {
        calls.reserve(32);
        windows.reserve(16);
    }

    void cancelMouseCapture() noexcept override { calls.push_back({Call::CancelCapture, 0}); }
    KeyboardPlace keyboardPlace() noexcept override { return before; }
    RecordedWindow boxOwnedBy(WindowHandle owner) noexcept override {
        for (int box = 0; box < standing && findsBoxes; ++box) {
            if (boxOwners[box] == owner) {
                return {kFirstBox + static_cast<WindowHandle>(box), kOwnThread};
            }
        }
        return {};
    }
    void listTopLevelWindows(WindowsToDisable& into) noexcept override {
        for (const FakeWindow& window : windows) {
            if (!window.topLevel || window.thread != kOwnThread) {
                continue;
            }
            ++offered;
            if (!into.add(window.window, window.visible, window.enabled)) {
                return;
            }
        }
    }
    void enableWindow(WindowHandle window, bool enabled) noexcept override {
        calls.push_back({enabled ? Call::Enable : Call::Disable, window});
        find(window)->enabled = enabled;
    }
    void showBox(const char* text, WindowHandle owner) noexcept override {
        calls.push_back({Call::Box, owner});
        const WindowHandle box = kFirstBox + static_cast<WindowHandle>(standing);
        std::strncpy(shownTexts[standing], text, sizeof shownTexts[standing] - 1);
        boxOwners[standing++] = owner;
        FakeWindow* ownerWindow = find(owner);
        if (ownerWindow == nullptr) {
            ADD_FAILURE() << "a box owned by 0x" << std::hex << owner << ", which is no window";
            return;
        }
        const bool ownerWasEnabled = ownerWindow->enabled;
        ownerWindow->enabled = false;
        windows.push_back({box, true, true, kOwnThread, true, ownerWindow->area});
        const std::function<void()>& whileItStands =
            standing == 1 ? whileTheFirstBoxStands : whileTheSecondBoxStands;
        if (whileItStands) {
            whileItStands();
        }
        remove(box);
        --standing;
        if (ownerWasEnabled) {
            find(owner)->enabled = true;
        }
        ownerTookTheActivation[standing] = find(owner)->enabled;
    }
    MonitorId monitorOf(WindowHandle window) noexcept override {
        return find(window)->area.left < kLeftArea.right ? kLeftMonitor : kRightMonitor;
    }
    std::optional<PixelRect> monitorArea(MonitorId monitor) noexcept override {
        if (!monitorAreaKnown) {
            return std::nullopt;
        }
        return monitor == kLeftMonitor ? kLeftArea : kRightArea;
    }
    std::optional<PixelRect> windowArea(WindowHandle window) noexcept override {
        if (!windowAreaKnown) {
            return std::nullopt;
        }
        return find(window)->area;
    }
    void moveWindow(WindowHandle window, int left, int top) noexcept override {
        calls.push_back({Call::Move, window, left, top});
        find(window)->area = {left, top, left, top};
    }
    WindowNow windowNow(WindowHandle window) noexcept override {
        const FakeWindow* found = find(window);
        return found == nullptr ? WindowNow{} : WindowNow{true, found->visible, found->thread};
    }
    void bringToFront(WindowHandle window) noexcept override {
        calls.push_back({Call::Front, window});
    }
    void setFocus(WindowHandle window) noexcept override { calls.push_back({Call::Focus, window}); }

    void remove(WindowHandle window) {
        std::erase_if(windows, [window](const FakeWindow& w) { return w.window == window; });
    }
    FakeWindow* find(WindowHandle window) {
        const auto found = std::ranges::find(windows, window, &FakeWindow::window);
        return found == windows.end() ? nullptr : &*found;
    }
    bool everyWindowEnabled() const { return std::ranges::all_of(windows, &FakeWindow::enabled); }

    std::vector<FakeWindow> windows = {{kOwner},
                                       {kWidget},
                                       {kFocus, true, true, kOwnThread, false},
                                       {kGame, true, true, kGameThread},
                                       {kOtherGame, true, true, kGameThread}};
    KeyboardPlace before;
    std::function<void()> whileTheFirstBoxStands;
    std::function<void()> whileTheSecondBoxStands;
    bool findsBoxes = true;
    bool monitorAreaKnown = true;
    bool windowAreaKnown = true;
    std::vector<Recorded> calls;
    int offered = 0;
    int standing = 0;
    WindowHandle boxOwners[2] = {};
    // Whether the owner was enabled as the box went, and so could take the activation.
    bool ownerTookTheActivation[2] = {};
    char shownTexts[2][160] = {};
};

// The box as the application window has it once created, by default with the program shown.
struct OwnedErrorBox : ErrorBox {
    explicit OwnedErrorBox(FakeErrorBoxPlatform& platform, bool shown = true)
        : ErrorBox(platform, platform, {test::lengthsIn(1252), {}}) {
        setLoneBoxOwner(kOwner);
        if (shown) {
            programShown();
        }
    }
};

// Long enough that the text is built in allocated memory, and ending in a letter, so the box adds
// a full stop.
const std::runtime_error kNoLabel("The form has no label for target slot 1");

constexpr KeyboardPlace kInTheGame{{kGame, kGameThread}, false, 0, 0};
constexpr KeyboardPlace kInTheWidget{{kWidget, kOwnThread}, true, kWidget, kFocus};

TEST(ErrorBox, DisablesEveryVisibleEnabledWindowButTheBoxOwnerWhileTheBoxIsUp) {
    FakeErrorBoxPlatform platform;
    constexpr WindowHandle kHidden = 0x30, kDisabled = 0x40, kSecond = 0x50;
    platform.windows = {
        {kHidden, false, true}, {kWidget}, {kOwner}, {kDisabled, true, false}, {kSecond}};
    OwnedErrorBox box(platform);

    box.report(kNoLabel);

    EXPECT_EQ(platform.calls, (std::vector<Recorded>{{Call::CancelCapture, 0},
                                                     {Call::Disable, kWidget},
                                                     {Call::Disable, kSecond},
                                                     {Call::Box, kOwner},
                                                     {Call::Enable, kWidget},
                                                     {Call::Enable, kSecond}}));
    EXPECT_STREQ(platform.shownTexts[0], "The form has no label for target slot 1.");
}

// Once the box is dismissed, the keyboard goes back to the window recorded when the error came,
// if that window still stands as it was recorded; and not at all for a box that came before
// start-up showed the program.
TEST(ErrorBox, GivesTheKeyboardBackOnlyToTheWindowRecordedWhereItStillStands) {
    const struct {
        const char* where;
        KeyboardPlace before;
        std::function<void(FakeErrorBoxPlatform&)> whileTheBoxStands;
        bool programShown;
        std::vector<Recorded> after;
    } cases[] = {
        {"the widget was active, with the focus on a child",
         kInTheWidget,
         nullptr,
         true,
         {{Call::Front, kWidget}, {Call::Focus, kFocus}}},
        {"another program's window was in front",
         kInTheGame,
         nullptr,
         true,
         {{Call::Front, kGame}}},
        {"no window was in front", {}, nullptr, true, {}},
        {"the game closed while the box stood",
         kInTheGame,
         [](FakeErrorBoxPlatform& p) { p.remove(kGame); },
         true,
         {}},
        {"the game hid while the box stood",
         kInTheGame,
         [](FakeErrorBoxPlatform& p) { p.find(kGame)->visible = false; },
         true,
         {}},
        {"the game closed and its handle names another thread's window",
         kInTheGame,
         [](FakeErrorBoxPlatform& p) { p.find(kGame)->thread = kOtherThread; },
         true,
         {}},
        {"the widget's focused child went away",
         kInTheWidget,
         [](FakeErrorBoxPlatform& p) { p.find(kFocus)->visible = false; },
         true,
         {{Call::Front, kWidget}}},
        {"the box came before start-up showed the program (an error in FormCreate)",
         kInTheGame,
         nullptr,
         false,
         {}},
    };
    for (const auto& c : cases) {
        FakeErrorBoxPlatform platform;
        platform.before = c.before;
        if (c.whileTheBoxStands) {
            platform.whileTheFirstBoxStands = [&] { c.whileTheBoxStands(platform); };
        }
        OwnedErrorBox box(platform, c.programShown);

        box.report(kNoLabel);

        const auto shown = std::ranges::find(platform.calls, Recorded{Call::Box, kOwner});
        ASSERT_NE(shown, platform.calls.end()) << c.where;
        const std::vector<Recorded> afterBox(shown + 2, platform.calls.end()); // past Enable
        EXPECT_EQ(afterBox, c.after) << c.where;
    }
}

// Xvfb has one monitor, so where a box opens is seen only here. A box that stands alone opens over
// the application window; while it stands, that window visits the centre of the monitor of the
// window the user works in.
TEST(ErrorBox, ABoxThatStandsAloneOpensOnTheMonitorOfTheActiveWindow) {
    constexpr PixelRect kOnTheRight{2000, 100, 2300, 300};
    const struct {
        const char* where;
        PixelRect widget;
        bool monitorAreaKnown;
        bool windowAreaKnown;
        bool whileAnotherBoxStands;
        std::vector<Recorded> placed;
    } cases[] = {
        {"the widget is on the other monitor",
         kOnTheRight,
         true,
         true,
         false,
         {{Call::Move, kOwner, 2560, 312}, {Call::Box, kOwner}, {Call::Move, kOwner, 300, 200}}},
        {"the widget is on the owner's monitor",
         kOnTheLeft,
         true,
         true,
         false,
         {{Call::Box, kOwner}}},
        {"the platform cannot say where the monitor lies",
         kOnTheRight,
         false,
         true,
         false,
         {{Call::Box, kOwner}}},
        {"the platform cannot say where the owner stands",
         kOnTheRight,
         true,
         false,
         false,
         {{Call::Box, kOwner}}},
        {"the box comes while another stands, which it opens over",
         kOnTheRight,
         true,
         true,
         true,
         {{Call::Box, kOwner}, {Call::Box, kFirstBox}}},
    };
    for (const auto& c : cases) {
        FakeErrorBoxPlatform platform;
        platform.find(kWidget)->area = c.widget;
        platform.monitorAreaKnown = c.monitorAreaKnown;
        platform.windowAreaKnown = c.windowAreaKnown;
        OwnedErrorBox box(platform);
        if (c.whileAnotherBoxStands) {
            platform.before = kInTheGame;
            platform.whileTheFirstBoxStands = [&] {
                platform.before = kInTheWidget;
                box.report(kNoLabel);
            };
        } else {
            platform.before = kInTheWidget;
        }

        box.report(kNoLabel);

        std::vector<Recorded> placed;
        std::ranges::copy_if(platform.calls, std::back_inserter(placed), [](const Recorded& r) {
            return r.call == Call::Box || r.call == Call::Move;
        });
        EXPECT_EQ(placed, c.placed) << c.where;
    }
}

// A refusal while the first box stands: the user left the box up and turned to the other game,
// whose key was refused too; or an error came while the user was on the first box.
TEST(ErrorBox, ABoxThatComesWhileAnotherStandsIsOwnedByItAndTheKeyboardGoesBackAfterTheLast) {
    const std::runtime_error refusedGame("\"Elevated game\" runs with higher rights");
    const std::runtime_error refusedOther("\"Elevated other\" runs with higher rights");
    const struct {
        const char* where;
        KeyboardPlace second;
        WindowHandle lastFront;
    } cases[] = {
        {"the user turned to the other game", {{kOtherGame, kGameThread}, false, 0, 0}, kOtherGame},
        {"the user was on the first box",
         {{kFirstBox, kOwnThread}, true, kFirstBox, kFirstBox},
         kGame},
        {"no window was in front", {}, kGame},
    };
    for (const auto& c : cases) {
        FakeErrorBoxPlatform platform;
        platform.before = kInTheGame;
        OwnedErrorBox box(platform);
        platform.whileTheFirstBoxStands = [&] {
            platform.before = c.second;
            box.report(refusedOther);
        };

        box.report(refusedGame);

        EXPECT_EQ(platform.calls,
                  (std::vector<Recorded>{{Call::CancelCapture, 0},
                                         {Call::Disable, kWidget},
                                         {Call::Box, kOwner},
                                         {Call::CancelCapture, 0},
                                         {Call::Box, kFirstBox}, // nothing disabled for it
                                         {Call::Front, kFirstBox},
                                         {Call::Enable, kWidget},
                                         {Call::Front, c.lastFront}}))
            << c.where;
        EXPECT_TRUE(platform.ownerTookTheActivation[1]) << c.where << ": the second box's owner";
        EXPECT_TRUE(platform.ownerTookTheActivation[0]) << c.where << ": the first box's owner";
        EXPECT_TRUE(platform.everyWindowEnabled()) << c.where;
        EXPECT_STREQ(platform.shownTexts[0], "\"Elevated game\" runs with higher rights.");
        EXPECT_STREQ(platform.shownTexts[1], "\"Elevated other\" runs with higher rights.");
    }
}

// The box in front is found among the windows its owner owns; when the platform finds none there,
// the new box is owned by what owns the box in front, and none is brought forward as it goes.
// A box behind that the user no longer sees, or whose handle names another window, is left alone.
TEST(ErrorBox, TheBoxBehindComesToTheFrontAgainOnlyWhereItStillStands) {
    const struct {
        const char* where;
        bool findsBoxes;
        std::function<void(FakeErrorBoxPlatform&)> whileTheSecondBoxStands;
        std::vector<Recorded> secondBox; // from its box to its last call
    } cases[] = {
        {"the platform finds no box owned by the first box's owner",
         false,
         nullptr,
         {{Call::Disable, kFirstBox}, {Call::Box, kOwner}, {Call::Enable, kFirstBox}}},
        {"the first box hid while the second stood",
         true,
         [](FakeErrorBoxPlatform& p) { p.find(kFirstBox)->visible = false; },
         {{Call::Box, kFirstBox}}},
        {"the first box's handle names another thread's window",
         true,
         [](FakeErrorBoxPlatform& p) { p.find(kFirstBox)->thread = kOtherThread; },
         {{Call::Box, kFirstBox}}},
    };
    for (const auto& c : cases) {
        FakeErrorBoxPlatform platform;
        platform.before = kInTheGame;
        platform.findsBoxes = c.findsBoxes;
        if (c.whileTheSecondBoxStands) {
            platform.whileTheSecondBoxStands = [&] { c.whileTheSecondBoxStands(platform); };
        }
        OwnedErrorBox box(platform);
        platform.whileTheFirstBoxStands = [&] { box.report(kNoLabel); };

        box.report(kNoLabel);

        std::vector<Recorded> expected = {{Call::CancelCapture, 0},
                                          {Call::Disable, kWidget},
                                          {Call::Box, kOwner},
                                          {Call::CancelCapture, 0}};
        expected.insert(expected.end(), c.secondBox.begin(), c.secondBox.end());
        expected.insert(expected.end(), {{Call::Enable, kWidget}, {Call::Front, kGame}});
        EXPECT_EQ(platform.calls, expected) << c.where;
    }
}

TEST(ErrorBox, WithoutMemoryShowsTheErrorsOwnMessageAndDisablesNothing) {
    FakeErrorBoxPlatform platform;
    platform.before = kInTheWidget;
    platform.windows.push_back({0x50}); // listed after the widget, so never offered
    OwnedErrorBox box(platform);

    allocationsFail = true;
    box.report(kNoLabel);
    allocationsFail = false;

    EXPECT_STREQ(platform.shownTexts[0], "The form has no label for target slot 1");
    EXPECT_EQ(platform.offered, 2) << "the owner is passed over, the widget ends the listing";
    EXPECT_EQ(platform.calls, (std::vector<Recorded>{{Call::CancelCapture, 0},
                                                     {Call::Box, kOwner},
                                                     {Call::Front, kWidget},
                                                     {Call::Focus, kFocus}}));
}

class FakeFatalBoxPlatform : public FatalBoxPlatform {
public:
    CodePlace codePlace(const void* address) override {
        if (failure != nullptr) {
            failure();
        }
        return {"HotKeys.exe", address != nullptr ? 0x1234u : 0u};
    }
    SentenceEnds sentenceEnds() override { return {test::lengthsIn(1252), {}}; }
    void showFatalBox(const char* text) noexcept override {
        ++shown;
        std::strncpy(shownText, text, sizeof shownText - 1);
    }

    void (*failure)() = nullptr;
    int shown = 0;
    char shownText[160] = "";
};

TEST(FatalBox, ShowsTheErrorsOwnMessageWhenItsTextCannotBeBuilt) {
    static int anchor;
    const InvalidArgument error("The form names no picture class TJPEGImage", &anchor);
    const std::runtime_error fromTheLibrary("The form names no picture class TJPEGImage");
    const struct {
        const char* when;
        const std::exception& error;
        bool memoryRunsOut;
        void (*failure)();
        const char* text;
    } cases[] = {
        {"the text is built", error, false, nullptr,
         "Exception InvalidArgument in module HotKeys.exe at 00001234.\r\n"
         "The form names no picture class TJPEGImage.\r\n"},
        {"an error the program did not raise, which carries no address", fromTheLibrary, false,
         nullptr,
         "Exception std::runtime_error in module HotKeys.exe at 00000000.\r\n"
         "The form names no picture class TJPEGImage.\r\n"},
        {"memory has run out", error, true, nullptr, "The form names no picture class TJPEGImage"},
        {"the module cannot be named (the library's length error, raised as the program's own)",
         error, false, [] { raise<Error>("std::length_error", "basic_string::_M_create"); },
         "The form names no picture class TJPEGImage"},
    };
    for (const auto& c : cases) {
        FakeFatalBoxPlatform platform;
        platform.failure = c.failure;

        allocationsFail = c.memoryRunsOut;
        showFatalError(platform, c.error);
        allocationsFail = false;

        EXPECT_EQ(platform.shown, 1) << c.when;
        EXPECT_STREQ(platform.shownText, c.text) << c.when;
    }
}

} // namespace
} // namespace hk
