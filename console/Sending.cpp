#include "console/ConsoleDlg.h"
#include "console/DataFormats.h"
#include "framework/WinApp.h"

void CConsoleDlg::OnButtonSend() {
    // Nothing goes out after the user has just been told a field is invalid.
    if (!UpdateData(TRUE)) {
        return;
    }
    const std::string& text = m_strSend.str();
    std::vector<unsigned char> encoded;
    const char* data = text.data();
    std::size_t length = text.size();
    if (m_bHexSend) {
        encoded = console::EncodeHexSend(text);
        data = reinterpret_cast<const char*>(encoded.data());
        length = encoded.size();
    }
    const int count = static_cast<int>(length);
    // SEND counts what the socket takes, so that it always equals what has left: a stream send
    // reports its parts through OnLinkSent as they go, a datagram counts once it is taken.
    // A send that cannot go out at all (a full queue, an endpoint without a socket, a datagram too
    // large) counts nothing and beeps, so that a silent SEND never looks like a sent one.
    if (m_bTcp) {
        // A send behind an unfinished one waits its turn; past the endpoint's bound it is refused.
        if (!StreamSocket().SendWhole(data, count)) {
            MessageBeep(MB_ICONEXCLAMATION);
        }
    } else {
        const int sent = m_mainSocket.SendTo(data, count, m_nModulePort, ModuleAddress(), 0);
        if (sent > 0) {
            m_nSendCount += sent;
        }
        if (sent < count) {
            MessageBeep(MB_ICONEXCLAMATION);
        }
    }
    ShowSendCount();
}

// The link is over or auto-send was stopped with it: the timer stops and AUTO SEND shows unchecked.
// Only that box is rewritten; whatever the user has typed elsewhere stays as it is.
void CConsoleDlg::StopAutoSend() {
    KillTimer(kAutoSendTimer);
    m_bAutoSend = 0;
    m_chkAutoSend.SetCheck(0);
}

void CConsoleDlg::OnLinkSent(CLinkSocket* /*socket*/, int bytes) {
    m_nSendCount += bytes;
    ShowSendCount();
}

void CConsoleDlg::OnCheckAutoSend() {
    UpdateData(TRUE);
    if (m_bAutoSend) {
        m_editCycle.EnableWindow(TRUE);
        SetTimer(kAutoSendTimer, static_cast<UINT>(m_nCycleMs));
    } else {
        m_editCycle.EnableWindow(FALSE);
        KillTimer(kAutoSendTimer);
    }
}

// Every change the user makes to the cycle restarts the timing, with the new period, from now.
void CConsoleDlg::OnChangeCycle() {
    UpdateData(TRUE);
    SetTimer(kAutoSendTimer, static_cast<UINT>(m_nCycleMs));
}

void CConsoleDlg::OnTimer(UINT_PTR id) {
    if (id == kTextTailTimer) {
        ShowTextTail();
        return;
    }
    // A tick while a field is invalid skips its send: one message, not one per tick. A tick that
    // finds the last send still going out skips too, so auto-send keeps the peer's pace.
    if (UpdateData(TRUE) && m_bAutoSend && !(m_bTcp && StreamSocket().HasUnsent())) {
        OnButtonSend();
    }
    Default();
}
