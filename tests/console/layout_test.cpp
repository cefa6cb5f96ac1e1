// The console's controls keep apart on a screen of any dots an inch: each has a place of its own,
// the status bar (placed in pixels) included, and all lie inside the dialog. The suite runs at the
// screen's own dots; the build runs this test again at 120 and 144 (QUENZO_TEST_DPI says which).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "framework/Resources.h"
#include "tests/console/ConsoleFixture.h"

namespace {

bool Overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

std::string Describe(const RECT& rect) {
    return "(" + std::to_string(rect.left) + "," + std::to_string(rect.top) + ")-(" + std::to_string(rect.right) + "," +
           std::to_string(rect.bottom) + ")";
}

class LayoutTest : public test::ConsoleFixture {};

TEST_F(LayoutTest, NoTwoControlsOverlapAndAllLieInsideTheDialog) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        if (const char* dpi = std::getenv("QUENZO_TEST_DPI")) {
            // The lane is at the dots it was asked for, not at the screen's own: the dialog's unit
            // cell, 13 pixels high or more at 96 dots, grew with them.
            RECT cell{0, 0, 4, 8};
            dialog.MapDialogRect(&cell);
            ASSERT_GE(cell.bottom * 96, 12 * std::atoi(dpi)) << cell.bottom;
        }
        RECT client{};
        dialog.GetClientRect(&client);
        std::vector<std::pair<UINT, RECT>> placed;
        for (const DialogItem& item : AfxFindDialogTemplate(IDD_CONSOLE_DIALOG)->items) {
            if (item.id != IDC_STATIC) {  // labels and group frames are drawn round and beside controls
                CWnd* control = dialog.GetDlgItem(static_cast<int>(item.id));
                ASSERT_NE(control, nullptr) << item.id;
                placed.emplace_back(item.id, test::ControlRect(*control));
            }
        }
        placed.emplace_back(IDC_STATUSBAR, test::ControlRect(dialog.m_statusBar));
        for (std::size_t i = 0; i < placed.size(); ++i) {
            const auto& [id, rect] = placed[i];
            EXPECT_TRUE(rect.left >= 0 && rect.top >= 0 && rect.right <= client.right && rect.bottom <= client.bottom)
                << id << " at " << Describe(rect) << " outside " << Describe(client);
            for (std::size_t k = i + 1; k < placed.size(); ++k) {
                if (id == IDC_EDIT_LOCAL_PORT && placed[k].first == IDC_SPIN_LOCAL_PORT) {
                    continue;  // the up-down sits on its buddy's border, as the system draws the pair
                }
                EXPECT_FALSE(Overlap(rect, placed[k].second))
                    << id << " at " << Describe(rect) << " and " << placed[k].first << " at "
                    << Describe(placed[k].second);
            }
        }
    });
}

}  // namespace
