#include "console/ConsoleDlg.h"

#include <charconv>
#include <cstdint>
#include <string_view>

namespace {

// The bar's measures are pixels of a dialog whose unit cell is 6 by 13 pixels (the system font on a
// screen of 96 dots an inch). They grow as this dialog's units do, with the screen's dots or a wider
// font, so that the bar keeps its place beside CLEAR COUNT.
class ClassicPixels {
public:
    explicit ClassicPixels(const CDialog& dialog) { dialog.MapDialogRect(&m_cell); }
    int X(int pixels) const { return static_cast<int>((pixels * m_cell.right + 3) / 6); }
    int Y(int pixels) const { return static_cast<int>((pixels * m_cell.bottom + 6) / 13); }

private:
    RECT m_cell{0, 0, 4, 8};  // one unit cell: four dialog units wide, eight high
};

// "<label><count> ", as "%s%lld " writes it. The receive count changes with every chunk, so it is
// written without a format string to parse.
void ShowCount(CStatusBarCtrl& bar, int part, std::string_view label, std::int64_t count) {
    char text[64];
    label.copy(text, label.size());
    char* end = std::to_chars(text + label.size(), text + sizeof text - 2, count).ptr;
    *end++ = ' ';
    *end = '\0';
    bar.SetText(text, part, 0);
}

}  // namespace

void CConsoleDlg::CreateStatusBar() {
    const ClassicPixels px(*this);
    RECT rect{};
    GetClientRect(&rect);
    rect.left += px.X(10);
    rect.right -= px.X(10);
    rect.top += px.Y(4);
    rect.bottom -= px.Y(4);
    // 25 pixels high at the foot, with a gap on the right under CLEAR COUNT.
    rect.top = rect.bottom - px.Y(25);
    rect.right -= px.X(100);
    m_statusBar.Create(WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN, rect, this, IDC_STATUSBAR);
    m_statusBar.SetMinHeight(px.Y(25));

    const int width = static_cast<int>(rect.right - rect.left);
    const int parts[3] = {width / 2, (4 * width) / 5, -1};
    m_statusBar.SetParts(3, parts);
    SetStatusText("READY");
    ShowRecvCount();
    ShowSendCount();
}

void CConsoleDlg::SetStatusText(const char* text) { m_statusBar.SetText(text, 0, 0); }

void CConsoleDlg::ShowRecvCount() { ShowCount(m_statusBar, 1, "RECEIVE: ", m_nRecvCount); }

void CConsoleDlg::ShowSendCount() { ShowCount(m_statusBar, 2, "SEND: ", m_nSendCount); }

void CConsoleDlg::OnButtonClearCount() {
    m_nRecvCount = 0;
    m_nSendCount = 0;
    ShowRecvCount();
    ShowSendCount();
}
