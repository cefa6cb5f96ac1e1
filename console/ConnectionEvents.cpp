#include "console/ConsoleDlg.h"

void CConsoleDlg::OnLinkAccept(CLinkSocket* socket, int errorCode) {
    // The connection always lands in the peer endpoint, from the main (listening) one.
    if (errorCode != 0 || !m_mainSocket.Accept(m_peerSocket)) {
        SetStatusText("CONNECT FAIL.");
        return;
    }
    CString peerAddress;
    UINT peerPort = 0;
    // A peer gone before it could be asked leaves the module fields as they were.
    if (m_peerSocket.GetPeerName(peerAddress, peerPort)) {
        ShowModule(peerAddress, peerPort);
    }
    m_bLinkOpen = 1;
    SetStatusText("CONNECT SUCCESS.");
    // The listener is closed here: the server serves exactly one connection.
    socket->Close();
    SetUiState(Linked);
}

void CConsoleDlg::OnLinkConnect(CLinkSocket* socket, int errorCode) {
    if (errorCode != 0) {
        socket->Close();
        SetStatusText("CONNECT FAIL.");
        SetUiState(Idle);
        return;
    }
    m_bLinkOpen = 1;
    SetStatusText("CREATE NEW CONNECT.");
    SetUiState(Linked);
}

// A reset is handled like an orderly close: either way the link is over.
void CConsoleDlg::OnLinkClose(CLinkSocket* socket, int /*errorCode*/) {
    m_bLinkOpen = 0;
    ShowTextTail();
    socket->Close();
    StopAutoSend();
    SetStatusText("READY");
    SetUiState(Idle);
}
