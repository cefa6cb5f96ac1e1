#include "app/AboutDlg.h"
#include "console/ConsoleDlg.h"
#include "framework/Menu.h"
#include "framework/PaintDC.h"
#include "framework/Resources.h"

// The About item's command id. The window system keeps the four low bits of system command ids
// for itself, so any id from 16 to 31 means About.
inline constexpr UINT IDM_ABOUTBOX = 0x0010;

void CConsoleDlg::InitWindowChrome() {
    if (CMenu* systemMenu = GetSystemMenu(FALSE)) {
        CString aboutText;
        if (AfxLoadString(IDS_ABOUTBOX, aboutText) && !aboutText.IsEmpty()) {
            systemMenu->AppendMenu(MF_SEPARATOR);
            systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, aboutText);
        }
    }
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
}

void CConsoleDlg::OnSysCommand(UINT id, LPARAM lParam) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
    } else {
        CDialog::OnSysCommand(id, lParam);
    }
}

POINT MinimizedIconPosition(const RECT& client, int iconWidth, int iconHeight) {
    const int width = static_cast<int>(client.right - client.left);
    const int height = static_cast<int>(client.bottom - client.top);
    return {(width - iconWidth + 1) / 2, (height - iconHeight + 1) / 2};
}

// Window systems that paint minimised windows show the icon centred in them; elsewhere the dialog
// paints itself as usual.
void CConsoleDlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    if (dc.GetSafeHdc() == nullptr) {
        return;
    }
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int iconWidth = GetSystemMetrics(SM_CXICON);
    const int iconHeight = GetSystemMetrics(SM_CYICON);
    RECT client{};
    GetClientRect(&client);
    const POINT at = MinimizedIconPosition(client, iconWidth, iconHeight);
    dc.DrawIcon(static_cast<int>(at.x), static_cast<int>(at.y), m_hIcon);
}

HCURSOR CConsoleDlg::OnQueryDragIcon() { return m_hIcon; }
