#include "console/ConsoleDlg.h"

void CConsoleDlg::CreateStatusBar() {
    RECT rect{};
    GetClientRect(&rect);
    rect.left += 10;
    rect.right -= 10;
    rect.top += 4;
    rect.bottom -= 4;
    // 25 pixels high at the foot, with a gap on the right under CLEAR COUNT.
    rect.top = rect.bottom - 25;
    rect.right -= 100;
    m_statusBar.Create(WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN, rect, this, IDC_STATUSBAR);
    m_statusBar.SetMinHeight(25);

    const int width = static_cast<int>(rect.right - rect.left);
    const int parts[3] = {width / 2, (4 * width) / 5, -1};
    m_statusBar.SetParts(3, parts);
    SetStatusText("READY");
    ShowRecvCount();
    ShowSendCount();
}

void CConsoleDlg::SetStatusText(const char* text) { m_statusBar.SetText(text, 0, 0); }

void CConsoleDlg::ShowRecvCount() {
    CString text;
    text.Format("RECEIVE: %lld ", static_cast<long long>(m_nRecvCount));
    m_statusBar.SetText(text, 1, 0);
}

void CConsoleDlg::ShowSendCount() {
    CString text;
    text.Format("SEND: %lld ", static_cast<long long>(m_nSendCount));
    m_statusBar.SetText(text, 2, 0);
}

void CConsoleDlg::OnButtonClearCount() {
    m_nRecvCount = 0;
    m_nSendCount = 0;
    ShowRecvCount();
    ShowSendCount();
}
