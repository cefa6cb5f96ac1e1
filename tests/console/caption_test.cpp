// Every caption the console and the About box show fits in its control: a caption the control
// cannot hold is cut off where the user reads it ("MODULE POR"). The build runs this again on
// screens of 120 and 144 dots an inch.
#include <gtest/gtest.h>

#include <vector>

#include "app/AboutDlg.h"
#include "tests/console/ConsoleFixture.h"
#include "tests/support/Captions.h"

namespace {

void ExpectEveryCaptionFits(CWnd& dialog, std::size_t atLeast) {
    const std::vector<test::Caption> captions = test::CaptionsOf(dialog.m_hWnd);
    EXPECT_GE(captions.size(), atLeast);
    for (const test::Caption& caption : captions) {
        EXPECT_LE(caption.width, caption.room) << '"' << caption.text << "\" takes " << caption.width
                                               << " pixels in a control that has room for " << caption.room;
    }
}

class CaptionTest : public test::ConsoleFixture {};

TEST_F(CaptionTest, EveryCaptionFitsItsControlInTheConsoleAndTheAboutBox) {
    CConsoleDlg dialog;
    // Six labels, five check boxes and five push buttons.
    Run(dialog, [&] { ExpectEveryCaptionFits(dialog, 16); });
    CAboutDlg about;
    test::RunDialog(about, [&] {
        ExpectEveryCaptionFits(about, 3);
        about.EndDialog(IDOK);
    });
}

}  // namespace
