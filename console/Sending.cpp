#include "console/ConsoleDlg.h"
#include "console/DataFormats.h"

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
    // One socket call per send, whatever it makes of the data: no retry, no queue.
    if (m_bTcp) {
        (m_bServer ? m_peerSocket : m_mainSocket).Send(data, count, 0);
    } else {
        m_mainSocket.SendTo(data, count, m_nModulePort, ModuleAddress(), 0);
    }
    m_nSendCount += count;
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
    // A tick while a field is invalid skips its send: one message, not one per tick.
    if (UpdateData(TRUE) && m_bAutoSend) {
        OnButtonSend();
    }
    Default();
}
