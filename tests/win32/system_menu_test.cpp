// The console's title bar as Windows holds it: the program's separator and About item are added to
// the system menu once, when the console starts, and opening the menu never rebuilds it, so that an
// item another program added to it stays; the small icon is the icon group's own small image.
#include "console/ConsoleDlg.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/PaintDC.h"
#include "framework/win32/User32.h"
#include "tests/console/ConsoleFixture.h"
#include "tests/support/win32/IconImages.h"

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

TEST_F(SystemMenuTest, TheSmallIconIsTheGroupsOwnSmallImageAndTheBigOneTheConsolesIcon) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        constexpr unsigned kGetIcon = 0x007F;
        const int width = GetSystemMetrics(SM_CXSMICON);
        const int height = GetSystemMetrics(SM_CYSMICON);
        const auto small = reinterpret_cast<void*>(dialog.SendMessage(kGetIcon, 0, 0));
        const test::icons::Image shown = test::icons::Of(small);
        EXPECT_EQ(shown.width, width);
        EXPECT_EQ(shown.height, height);
        const test::icons::Image own = test::icons::ProgramImage(IDR_MAINFRAME, width, height);
        ASSERT_FALSE(own.colour.empty());
        EXPECT_TRUE(shown == own) << "the small icon is not the group's " << width << " x " << height << " image";
        EXPECT_EQ(reinterpret_cast<HICON>(dialog.SendMessage(kGetIcon, 1, 0)), dialog.m_hIcon);
        EXPECT_EQ(dialog.GetIcon(FALSE), reinterpret_cast<HICON>(small));
    });
}

}  // namespace
