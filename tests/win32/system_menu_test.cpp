// The console's system menu as Windows holds it: the program's separator and About item are added
// once, when the console starts, and opening the menu never rebuilds it, so that an item another
// program added to it stays.
#include "console/ConsoleDlg.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/win32/User32.h"
#include "tests/console/ConsoleFixture.h"

namespace {

class SystemMenuTest : public test::ConsoleFixture {};

constexpr unsigned kInitMenu = 0x0116;
constexpr unsigned kSeparator = 0x0800;
constexpr std::uintptr_t kOtherProgramsItem = 0x7F00;
constexpr std::uintptr_t kAboutItem = 0x0010;  // the console's About item

TEST_F(SystemMenuTest, TheAboutItemIsAddedOnceAndOpeningTheMenuRebuildsNothing) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        const auto window = reinterpret_cast<w32::Handle>(dialog.m_hWnd);
        const std::vector<w32::MenuItem> atStart = w32::SystemMenuItems(window);
        ASSERT_GE(atStart.size(), 3u);
        EXPECT_EQ(atStart[atStart.size() - 2].flags, kSeparator);
        EXPECT_EQ(atStart.back().id, kAboutItem);

        const w32::MenuItem other{0, kOtherProgramsItem, "Always on top"};
        w32::AppendSystemMenu(window, std::vector<w32::MenuItem>{other});
        for (int open = 0; open < 3; ++open) {
            dialog.SendMessage(kInitMenu, 0, 0);
        }
        const std::vector<w32::MenuItem> after = w32::SystemMenuItems(window);
        ASSERT_EQ(after.size(), atStart.size() + 1);
        EXPECT_EQ(after.back().id, kOtherProgramsItem);
        EXPECT_EQ(after[after.size() - 2].id, kAboutItem);
    });
}

}  // namespace
