#include <cstdio>

#include "console/ConsoleDlg.h"
#include "console/DataFormats.h"

namespace {
// One read of at most this many bytes per receive event.
constexpr int kReceiveCapacity = 2048;
}  // namespace

void CConsoleDlg::OnLinkReceive(CLinkSocket* socket, int errorCode) {
    if (errorCode != 0) {
        return;
    }
    UpdateData(TRUE);
    char buffer[kReceiveCapacity];
    CString sender;
    UINT senderPort = 0;
    const int received = m_bTcp ? socket->Receive(buffer, kReceiveCapacity, 0)
                                : socket->ReceiveFrom(buffer, kReceiveCapacity, sender, senderPort, 0);
    if (received <= 0) {
        return;
    }
    const auto length = static_cast<std::size_t>(received);
    if (!m_bTcp) {
        LearnSender(sender, senderPort);
    }

    const bool wasHolding = !m_strTextTail.empty();
    std::string shown;
    // Hex display is formatted straight into a buffer of the handler's, held-back bytes first.
    char hex[(kReceiveCapacity + 4) * 3 + 1];
    const char* display = hex;
    if (m_bHexDisplay) {
        const std::size_t at = console::FormatHexDisplay(reinterpret_cast<const unsigned char*>(m_strTextTail.data()),
                                                         m_strTextTail.size(), hex);
        m_strTextTail.clear();
        console::FormatHexDisplay(reinterpret_cast<const unsigned char*>(buffer), length, hex + at);
    } else {
        // A datagram is a whole message: a character is never split between two of them.
        shown = console::FormatTextDisplay(m_strTextTail, buffer, length, m_bTcp != 0);
        display = shown.c_str();
    }
    // The quiet time before a held tail is shown counts from the last chunk.
    if (!m_strTextTail.empty()) {
        SetTimer(kTextTailTimer, kTextTailWaitMs);
    } else if (wasHolding) {
        KillTimer(kTextTailTimer);
    }

    // The box empties itself before a chunk that would take it to its limit, so every chunk is seen.
    if (m_nShownBytes + received >= static_cast<std::int64_t>(m_editReceive.GetLimitText())) {
        OnButtonClear();
        m_nShownBytes = 0;
    }
    m_editReceive.ReplaceSel(display, FALSE);
    m_nRecvCount += received;
    ShowRecvCount();
    m_nShownBytes += received;
}

// In UDP the last sender becomes the module, so that the next send answers it.
void CConsoleDlg::LearnSender(const CString& address, UINT port) {
    unsigned fields[4] = {0, 0, 0, 0};
    std::sscanf(address, "%u.%u.%u.%u", &fields[0], &fields[1], &fields[2], &fields[3]);
    m_ipModule.SetAddress(static_cast<BYTE>(fields[0]), static_cast<BYTE>(fields[1]), static_cast<BYTE>(fields[2]),
                          static_cast<BYTE>(fields[3]));
    m_nModulePort = port;
    UpdateData(FALSE);
    SetUiState(Linked);
}

void CConsoleDlg::ShowTextTail() {
    KillTimer(kTextTailTimer);
    if (m_strTextTail.empty()) {
        return;
    }
    m_editReceive.ReplaceSel(m_strTextTail.c_str(), FALSE);
    m_strTextTail.clear();
}

void CConsoleDlg::OnButtonClear() {
    m_editReceive.SetSel(0, -1);
    m_editReceive.ScrollCaret();
    m_editReceive.ReplaceSel("", FALSE);
}
