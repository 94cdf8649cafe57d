#include "widget/MouseRouter.h"

#include "form/FormDescription.h"
#include "tests/unit/StoredForm.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace hk {
namespace {

// The components as the program loads them, handlers bound by the stored description.
std::vector<Component> storedComponents() {
    return readFormDescription(storedFormBytes()).components;
}

std::string where(Point point) {
    return std::to_string(point.x) + "," + std::to_string(point.y);
}

constexpr Point kStrip{100, 5};
constexpr Point kStripLastRow{100, 20};
constexpr Point kLabel2TopRow{70, 20};
constexpr Point kGlyph{190, 5};
constexpr Point kLabel3{10, 60};
constexpr Point kLabel4{80, 60};
constexpr Point kLabel5{150, 60};
constexpr Point kBackground{30, 40};
constexpr Point kOutside{300, -40};

TEST(MouseRouter, EveryButtonPressedOnTheStripStartsAMoveAndNothingElseDoes) {
    struct Case {
        MouseButton button;
        Point point;
        bool capture;
        std::optional<Handler> handler;
    };
    const auto move = Handler::Image2MouseDown;
    const Case cases[] = {
        {MouseButton::Left, kStrip, true, move},
        {MouseButton::Right, kStrip, true, move},
        {MouseButton::Middle, kStrip, true, move},
        {MouseButton::Left, {0, 0}, true, move},
        {MouseButton::Left, kStripLastRow, true, move},
        {MouseButton::Left, {200, 10}, true, move}, // right of the glyph
        {MouseButton::Left, kLabel2TopRow, true, std::nullopt},
        {MouseButton::Right, kLabel2TopRow, true, std::nullopt},
        {MouseButton::Left, kGlyph, true, std::nullopt},
        {MouseButton::Middle, kGlyph, true, std::nullopt},
        {MouseButton::Left, kLabel3, true, std::nullopt},
        {MouseButton::Left, kBackground, true, std::nullopt},
        {MouseButton::Left, kOutside, false, std::nullopt},
    };
    const std::vector<Component> components = storedComponents();
    for (const Case& c : cases) {
        MouseRouter router;
        const PressAction action = router.press(components, c.button, c.point);
        EXPECT_EQ(action.capture, c.capture) << where(c.point);
        EXPECT_EQ(action.handler, c.handler) << where(c.point);
    }
}

TEST(MouseRouter, AClickIsALeftPressAndReleaseOverTheSameComponent) {
    struct Case {
        MouseButton button;
        Point down;
        Point up;
        std::optional<Handler> click;
    };
    const Case cases[] = {
        {MouseButton::Left, kGlyph, {184, 15}, Handler::Image3Click},
        {MouseButton::Left, kLabel3, {8, 56}, Handler::Label3Click},
        {MouseButton::Left, kLabel4, kLabel4, Handler::Label4Click},
        {MouseButton::Left, kLabel5, {192, 67}, Handler::Label5Click},
        {MouseButton::Left, kGlyph, kOutside, std::nullopt},
        {MouseButton::Left, kGlyph, {183, 5}, std::nullopt}, // the strip beside it
        {MouseButton::Left, kStrip, kGlyph, std::nullopt},
        {MouseButton::Left, kLabel3, kLabel4, std::nullopt},
        {MouseButton::Left, kLabel4, {106, 60}, std::nullopt}, // the background between links
        {MouseButton::Right, kGlyph, kGlyph, std::nullopt},
        {MouseButton::Middle, kLabel5, kLabel5, std::nullopt},
    };
    const std::vector<Component> components = storedComponents();
    for (const Case& c : cases) {
        MouseRouter router;
        router.press(components, c.button, c.down);
        EXPECT_EQ(router.release(components, c.button, c.up), c.click)
            << where(c.down) << " to " << where(c.up);
    }
}

TEST(MouseRouter, APressClicksAtMostOnceAndNotAfterTheCaptureIsLost) {
    const std::vector<Component> components = storedComponents();
    MouseRouter router;
    router.press(components, MouseButton::Left, kGlyph);
    EXPECT_EQ(router.release(components, MouseButton::Left, kGlyph), Handler::Image3Click);
    EXPECT_EQ(router.release(components, MouseButton::Left, kGlyph), std::nullopt);

    router.press(components, MouseButton::Left, kLabel4);
    router.cancel();
    EXPECT_EQ(router.release(components, MouseButton::Left, kLabel4), std::nullopt);

    // A press outside every component forgets the earlier one.
    router.press(components, MouseButton::Left, kLabel4);
    router.press(components, MouseButton::Left, kOutside);
    EXPECT_EQ(router.release(components, MouseButton::Left, kLabel4), std::nullopt);
}

TEST(MouseRouter, OtherButtonsInBetweenLeaveALeftPressToItsClick) {
    const std::vector<Component> components = storedComponents();
    MouseRouter router;
    router.press(components, MouseButton::Left, kLabel5);
    router.press(components, MouseButton::Right, kBackground);
    EXPECT_EQ(router.release(components, MouseButton::Right, kLabel5), std::nullopt);
    EXPECT_EQ(router.release(components, MouseButton::Left, kLabel5), Handler::Label5Click);
}

} // namespace
} // namespace hk
