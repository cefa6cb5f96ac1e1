#include "console/ConsoleDlg.h"
#include "framework/WinApp.h"
#include "net/winsock.h"

void CConsoleDlg::SetUiState(int state) {
    switch (state) {
        case Idle:
            m_chkTcp.EnableWindow(TRUE);
            m_btnConnect.EnableWindow(TRUE);
            m_btnClose.SetWindowText("CLOSE");
            m_btnClose.EnableWindow(FALSE);
            m_btnSend.EnableWindow(FALSE);
            m_chkAutoSend.EnableWindow(FALSE);
            m_editCycle.EnableWindow(FALSE);
            break;
        case Waiting:
            m_chkTcp.EnableWindow(FALSE);
            m_btnConnect.EnableWindow(FALSE);
            m_btnClose.EnableWindow(TRUE);
            m_btnSend.EnableWindow(FALSE);
            m_chkAutoSend.EnableWindow(FALSE);
            m_editCycle.EnableWindow(FALSE);
            break;
        case Linked:
            // The cycle edit is left as AUTO SEND has it.
            m_chkTcp.EnableWindow(FALSE);
            m_btnConnect.EnableWindow(FALSE);
            m_btnClose.SetWindowText("DISCONNECT");
            m_btnClose.EnableWindow(TRUE);
            m_btnSend.EnableWindow(TRUE);
            m_chkAutoSend.EnableWindow(TRUE);
            break;
        default: break;
    }
}

void CConsoleDlg::OnCheckTcp() {
    UpdateData(TRUE);
    if (m_bTcp) {
        m_chkServer.EnableWindow(TRUE);
        m_btnConnect.SetWindowText(m_bServer ? "LISTEN" : "CONNECT");
    } else {
        // SERVER keeps its check mark; it only means something again with TCP.
        m_chkServer.EnableWindow(FALSE);
        m_btnConnect.SetWindowText("BIND");
    }
}

void CConsoleDlg::OnCheckServer() {
    UpdateData(TRUE);
    // A server learns its module from the connection it accepts.
    m_ipModule.EnableWindow(m_bServer ? FALSE : TRUE);
    m_editModulePort.EnableWindow(m_bServer ? FALSE : TRUE);
    m_btnConnect.SetWindowText(m_bServer ? "LISTEN" : "CONNECT");
}

CString CConsoleDlg::ModuleAddress() const {
    BYTE field0 = 0;
    BYTE field1 = 0;
    BYTE field2 = 0;
    BYTE field3 = 0;
    m_ipModule.GetAddress(field0, field1, field2, field3);
    CString address;
    address.Format("%u.%u.%u.%u", field0, field1, field2, field3);
    return address;
}

void CConsoleDlg::BindSelectedLocalAddress() {
    const int selected = m_comboLocalIp.GetCurSel();
    if (selected >= 0 && static_cast<std::size_t>(selected) < m_localAddrs.size()) {
        m_mainSocket.Bind(m_nLocalPort, m_localAddrs[static_cast<std::size_t>(selected)]);
    }
}

void CConsoleDlg::ReportCreateFailure() { AfxMessageBox("Can not create Socket!", MB_OK | MB_ICONEXCLAMATION); }

void CConsoleDlg::OnButtonConnect() {
    // A field the user has just been told is invalid is never used to open a link.
    if (!UpdateData(TRUE)) {
        return;
    }
    m_strTextTail.clear();  // a character left unfinished by the last link never completes
    CString status;
    if (m_bTcp && m_bServer) {
        if (!m_mainSocket.Create(m_nLocalPort, winsock::SOCK_STREAM)) {
            ReportCreateFailure();
            return;
        }
        BindSelectedLocalAddress();
        if (winsock::listen(m_mainSocket.m_hSocket, 1) == winsock::SOCKET_ERROR) {
            status.Format("LISTEN FAIL, ERROR CODE: %d", winsock::WSAGetLastError());
            SetStatusText(status);
            m_mainSocket.Close();
            return;
        }
        status.Format("LISTENING %u PORT...", m_nLocalPort);
        SetStatusText(status);
        m_btnClose.SetWindowText("STOP");
        SetUiState(Waiting);
    } else if (m_bTcp) {
        // A client takes whatever local address and port the system gives it.
        if (!m_mainSocket.Create(0, winsock::SOCK_STREAM)) {
            ReportCreateFailure();
            return;
        }
        const CString address = ModuleAddress();
        m_mainSocket.Connect(address, m_nModulePort);  // the outcome arrives as a connect event
        status.Format("CONNECT %s(%u)...", static_cast<const char*>(address), m_nModulePort);
        SetStatusText(status);
        SetUiState(Waiting);
    } else {
        if (!m_mainSocket.Create(m_nLocalPort, winsock::SOCK_DGRAM)) {
            ReportCreateFailure();
            return;
        }
        BindSelectedLocalAddress();
        m_btnClose.SetWindowText("CLOSE");
        status.Format("BINDED %u PORT", m_nLocalPort);
        SetStatusText(status);
        SetUiState(Linked);
    }
}

void CConsoleDlg::OnButtonClose() {
    // Both endpoints are closed, whatever SERVER says now: it may have been toggled since the
    // link was opened, and an endpoint that holds nothing closes harmlessly.
    m_bLinkOpen = 0;
    ShowTextTail();  // the link's last bytes are shown, even half a character
    m_peerSocket.Close();
    m_mainSocket.Close();
    StopAutoSend();
    SetStatusText("READY");
    SetUiState(Idle);
}
