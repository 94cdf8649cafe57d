#include "app/ShowCommand.h"

#include <gtest/gtest.h>

namespace hk {
namespace {

TEST(ShowCommand, StartUpInformationGivesTheCommandOnlyWhenItCarriesOne) {
    EXPECT_EQ(startupShowCommand(true, 7), 7);
    EXPECT_EQ(startupShowCommand(true, 0), 0);
    EXPECT_EQ(startupShowCommand(false, 3), kSwShowDefault);
}

TEST(ShowCommand, OnlyMaximisedAndMinimisedWithoutActivationChangeTheWindowState) {
    struct Case {
        int command;
        WindowState state;
    };
    const Case cases[] = {
        {0, WindowState::Normal},    {1, WindowState::Normal},    {2, WindowState::Normal},
        {3, WindowState::Maximized}, {4, WindowState::Normal},    {5, WindowState::Normal},
        {6, WindowState::Normal},    {7, WindowState::Minimized}, {8, WindowState::Normal},
        {9, WindowState::Normal},    {10, WindowState::Normal},   {11, WindowState::Normal},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(startupWindowState(c.command), c.state) << c.command;
    }
}

} // namespace
} // namespace hk
