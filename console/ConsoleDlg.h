#pragma once
// CConsoleDlg: the test console. It owns all of the program's state: the settings read from its
// controls, the two endpoints, the status bar and counters, and the local address table.

#include <cstdint>
#include <vector>

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/String.h"
#include "net/LinkSocket.h"
#include "res/Resource.h"

// Which controls the user may touch while the link is idle, being opened, or open.
enum UiState { Idle = 0, Waiting = 1, Linked = 2 };

// The auto-send timer.
inline constexpr UINT_PTR kAutoSendTimer = 10;
// Ends the wait for the rest of a character held back from text display: a peer that sends a
// single-byte encoding, or stops mid-character, still has every byte shown.
inline constexpr UINT_PTR kTextTailTimer = 11;
inline constexpr UINT kTextTailWaitMs = 100;

class CConsoleDlg : public CDialog, public CLinkOwner {
public:
    explicit CConsoleDlg(CWnd* parent = nullptr);
    ~CConsoleDlg() override;

    enum { IDD = IDD_CONSOLE_DIALOG };

    // Events of the two endpoints.
    void OnLinkAccept(CLinkSocket* socket, int errorCode) override;
    void OnLinkConnect(CLinkSocket* socket, int errorCode) override;
    void OnLinkReceive(CLinkSocket* socket, int errorCode) override;
    void OnLinkClose(CLinkSocket* socket, int errorCode) override;
    void OnLinkSent(CLinkSocket* socket, int bytes) override;

    CStatusBarCtrl m_statusBar;
    CLinkSocket m_mainSocket;  // TCP client, TCP listener or UDP endpoint
    CLinkSocket m_peerSocket;  // the one connection a TCP server accepts
    int m_bLinkOpen = 0;       // a TCP connection is open: set when one is made, cleared when it ends
    // Byte counters: 64-bit, so that days of traffic neither wrap nor go negative.
    std::int64_t m_nRecvCount = 0;
    std::int64_t m_nSendCount = 0;
    std::int64_t m_nShownBytes = 0;     // bytes received since the receive box last emptied itself
    std::vector<CString> m_localAddrs;  // dotted local addresses, in the order of the combo box items

    CButton m_chkTcp;
    CButton m_chkServer;
    CEdit m_editModulePort;
    CButton m_chkAutoSend;
    CEdit m_editCycle;
    CSpinButtonCtrl m_spinLocalPort;
    CIPAddressCtrl m_ipModule;
    CEdit m_editReceive;
    CComboBox m_comboLocalIp;
    CButton m_btnSend;
    CButton m_btnConnect;
    CButton m_btnClose;

    int m_bAutoSend = 0;
    int m_bHexDisplay = 0;
    int m_bHexSend = 0;
    UINT m_nLocalPort = 1234;
    UINT m_nModulePort = 1024;
    CString m_strSend;
    int m_nCycleMs = 1000;
    int m_bServer = 0;
    int m_bTcp = 1;
    HICON m_hIcon = nullptr;

    void SetUiState(int state);

    // Window chrome.
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();

    // Control handlers.
    void OnCheckTcp();
    void OnCheckServer();
    void OnButtonConnect();
    void OnButtonClose();
    void OnButtonClearCount();
    void OnButtonSend();
    void OnCheckAutoSend();
    void OnChangeCycle();
    void OnTimer(UINT_PTR id);
    void OnButtonClear();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    DECLARE_MESSAGE_MAP()

private:
    void FillLocalAddresses();
    // The About item on the system menu and the window's icons.
    void InitWindowChrome();

    // The status bar: part 0 the latest event, parts 1 and 2 the counters.
    void CreateStatusBar();
    void SetStatusText(const char* text);
    void ShowRecvCount();
    void ShowSendCount();

    // The address in the module IP control as dotted text.
    CString ModuleAddress() const;
    // Binds the main socket to the selected local address, when one is selected; the socket is
    // bound already, so this never narrows what it accepts.
    void BindSelectedLocalAddress();
    void ReportCreateFailure();
    // The endpoint a TCP send goes out on: the accepted connection for a server, else the client.
    CLinkSocket& StreamSocket() { return m_bServer ? m_peerSocket : m_mainSocket; }
    // Shows a peer's dotted address and port as the module, and keeps the port in m_nModulePort.
    // Only the two module fields are rewritten: what the user has typed elsewhere stays.
    void ShowModule(const CString& address, UINT port);
    void StopAutoSend();
    // Adds a chunk received to the receive box as the display shows it; `buffer` has room for its
    // text from `capacity` on.
    void ShowReceived(char* buffer, std::size_t length, int capacity);
    // Shows the bytes held back from text display as they are, invalid bytes and all.
    void ShowTextTail();

    // The start of a UTF-8 character that ended the last chunk of a stream shown as text, waiting
    // for the next chunk or for kTextTailWaitMs of quiet.
    std::string m_strTextTail;
    // Scratch room for one read and its hex display; nothing in it outlives the receive event.
    std::vector<char> m_receiveBuffer;
};

// Where a minimised window draws its icon: centred in the client area (integer division, toward zero).
POINT MinimizedIconPosition(const RECT& client, int iconWidth, int iconHeight);

// The web address in the window title and the default send text.
inline constexpr const char* kConsoleWebAddress = "http://quenzo.example.com";
