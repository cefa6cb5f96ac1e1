#include "console/ConsoleDlg.h"

#include "framework/PaintDC.h"

CConsoleDlg::CConsoleDlg(CWnd* parent)
    : CDialog(IDD, parent), m_strSend(kConsoleWebAddress), m_hIcon(AfxLoadIcon(IDR_MAINFRAME)) {}

CConsoleDlg::~CConsoleDlg() = default;

BEGIN_MESSAGE_MAP(CConsoleDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_BN_CLICKED(IDC_CHECK_TCP, OnCheckTcp)
ON_BN_CLICKED(IDC_CHECK_SERVER, OnCheckServer)
ON_BN_CLICKED(IDC_BUTTON_CONNECT, OnButtonConnect)
ON_BN_CLICKED(IDC_BUTTON_CLOSE, OnButtonClose)
ON_BN_CLICKED(IDC_BUTTON_CLEAR_COUNT, OnButtonClearCount)
ON_BN_CLICKED(IDC_BUTTON_SEND, OnButtonSend)
ON_BN_CLICKED(IDC_CHECK_AUTO_SEND, OnCheckAutoSend)
ON_EN_UPDATE(IDC_EDIT_CYCLE, OnChangeCycle)
ON_BN_CLICKED(IDC_BUTTON_CLEAR, OnButtonClear)
ON_WM_TIMER()
END_MESSAGE_MAP()

// The exchange order matters: a failing field stops it, and the fields after it keep their values.
void CConsoleDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CHECK_TCP, m_chkTcp);
    DDX_Control(pDX, IDC_CHECK_SERVER, m_chkServer);
    DDX_Control(pDX, IDC_EDIT_MODULE_PORT, m_editModulePort);
    DDX_Control(pDX, IDC_CHECK_AUTO_SEND, m_chkAutoSend);
    DDX_Control(pDX, IDC_EDIT_CYCLE, m_editCycle);
    DDX_Control(pDX, IDC_SPIN_LOCAL_PORT, m_spinLocalPort);
    DDX_Control(pDX, IDC_IPADDRESS_MODULE, m_ipModule);
    DDX_Control(pDX, IDC_EDIT_RECEIVE, m_editReceive);
    DDX_Control(pDX, IDC_COMBO_LOCAL_IP, m_comboLocalIp);
    DDX_Control(pDX, IDC_BUTTON_SEND, m_btnSend);
    DDX_Control(pDX, IDC_BUTTON_CONNECT, m_btnConnect);
    DDX_Control(pDX, IDC_BUTTON_CLOSE, m_btnClose);
    DDX_Check(pDX, IDC_CHECK_AUTO_SEND, m_bAutoSend);
    DDX_Check(pDX, IDC_CHECK_HEX_DISPLAY, m_bHexDisplay);
    DDX_Check(pDX, IDC_CHECK_HEX_SEND, m_bHexSend);
    DDX_Text(pDX, IDC_EDIT_LOCAL_PORT, m_nLocalPort);
    DDV_MinMaxUInt(pDX, m_nLocalPort, 0, 65535);
    DDX_Text(pDX, IDC_EDIT_MODULE_PORT, m_nModulePort);
    DDV_MinMaxUInt(pDX, m_nModulePort, 0, 65535);
    DDX_Text(pDX, IDC_EDIT_SEND, m_strSend);
    DDX_Text(pDX, IDC_EDIT_CYCLE, m_nCycleMs);
    DDX_Check(pDX, IDC_CHECK_SERVER, m_bServer);
    DDX_Check(pDX, IDC_CHECK_TCP, m_bTcp);
}

BOOL CConsoleDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    InitWindowChrome();

    CString title;
    title.Format("Quenzo - %s (v3.1)", kConsoleWebAddress);
    SetWindowText(title);

    CreateStatusBar();

    m_btnSend.EnableWindow(FALSE);
    m_btnClose.EnableWindow(FALSE);
    m_chkAutoSend.EnableWindow(FALSE);
    m_editCycle.EnableWindow(FALSE);

    m_ipModule.SetAddress(192, 168, 0, 7);
    m_spinLocalPort.SetRange32(0, 0xFFFF);

    m_mainSocket.m_pOwner = this;
    m_peerSocket.m_pOwner = this;
    m_bLinkOpen = 0;

    FillLocalAddresses();
    return TRUE;
}
