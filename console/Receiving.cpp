#include <cstdio>
#include <string>
#include <string_view>

#include "console/ConsoleDlg.h"
#include "console/DataFormats.h"

namespace {
// A stream is read at most this many bytes per receive event.
constexpr int kReceiveCapacity = 2048;
// A datagram is read whole: the largest an IPv4 datagram can carry.
constexpr int kDatagramCapacity = 65507;
// Bytes shown as hex: "XX " a byte.
constexpr AfxTextOfBytes kHexText{console::FormatHexDisplay, 3};
}  // namespace

void CConsoleDlg::OnLinkReceive(CLinkSocket* socket, int errorCode) {
    if (errorCode != 0) {
        return;
    }
    UpdateData(TRUE);
    const int capacity = m_bTcp ? kReceiveCapacity : kDatagramCapacity;
    // Room for the bytes, and behind them for their text display: a held-back tail (at most the
    // three bytes of an unfinished character), the bytes and a zero.
    const auto room = static_cast<std::size_t>(capacity) * 2 + 4;
    if (m_receiveBuffer.size() < room) {
        m_receiveBuffer.resize(room);
    }
    char* buffer = m_receiveBuffer.data();
    CString sender;
    UINT senderPort = 0;
    const int received =
        m_bTcp ? socket->Receive(buffer, capacity, 0) : socket->ReceiveFrom(buffer, capacity, sender, senderPort, 0);
    if (received <= 0) {
        return;
    }
    const auto length = static_cast<std::size_t>(received);
    if (!m_bTcp) {
        // In UDP the last sender becomes the module, so that the next send answers it.
        ShowModule(sender, senderPort);
        SetUiState(Linked);
    }
    ShowReceived(buffer, length, capacity);
    m_nRecvCount += received;
    ShowRecvCount();
}

void CConsoleDlg::ShowReceived(char* buffer, std::size_t length, int capacity) {
    const bool wasHolding = !m_strTextTail.empty();
    // Bytes held back from a chunk shown as text are shown as hex before this chunk's.
    std::string heldBytes;
    std::string_view text;
    if (m_bHexDisplay) {
        heldBytes.swap(m_strTextTail);
    } else {
        // The text is formatted straight into the buffer behind the bytes, held-back bytes first. A
        // datagram is a whole message: a character is never split between two of them. Characters
        // end where they do in the encoding the box takes.
        char* display = buffer + capacity;
        const AfxCharacterBoundary boundary = AfxEditTextBoundary();
        text = {display,
                console::FormatTextDisplay(m_strTextTail, buffer, length, m_bTcp != 0,
                                           boundary != nullptr ? boundary : console::CompleteUtf8Prefix, display)};
    }
    // The quiet time before a held tail is shown counts from the last chunk.
    if (!m_strTextTail.empty()) {
        SetTimer(kTextTailTimer, kTextTailWaitMs);
    } else if (wasHolding) {
        KillTimer(kTextTailTimer);
    }

    // The box empties itself before a chunk that would take it to its limit, so every chunk is seen.
    const auto received = static_cast<std::int64_t>(length);
    if (m_nShownBytes + received >= static_cast<std::int64_t>(m_editReceive.GetLimitText())) {
        OnButtonClear();
        m_nShownBytes = 0;
    }
    // Every chunk goes at the end, whatever the user has clicked or selected in the box. Hex is
    // three characters a byte: the box writes it only if it still holds the bytes when it shows them.
    if (m_bHexDisplay) {
        if (!heldBytes.empty()) {
            m_editReceive.AppendText(reinterpret_cast<const unsigned char*>(heldBytes.data()), heldBytes.size(),
                                     kHexText);
        }
        m_editReceive.AppendText(reinterpret_cast<const unsigned char*>(buffer), length, kHexText);
    } else {
        m_editReceive.AppendText(text);
    }
    m_nShownBytes += received;
}

void CConsoleDlg::ShowModule(const CString& address, UINT port) {
    unsigned fields[4] = {0, 0, 0, 0};
    std::sscanf(address, "%u.%u.%u.%u", &fields[0], &fields[1], &fields[2], &fields[3]);
    m_ipModule.SetAddress(static_cast<BYTE>(fields[0]), static_cast<BYTE>(fields[1]), static_cast<BYTE>(fields[2]),
                          static_cast<BYTE>(fields[3]));
    m_nModulePort = port;
    // The port field alone is shown, as the form shows it.
    CDataExchange show(this, FALSE);
    DDX_Text(&show, IDC_EDIT_MODULE_PORT, m_nModulePort);
}

void CConsoleDlg::ShowTextTail() {
    KillTimer(kTextTailTimer);
    if (m_strTextTail.empty()) {
        return;
    }
    m_editReceive.AppendText(m_strTextTail.c_str());
    m_strTextTail.clear();
}

void CConsoleDlg::OnButtonClear() {
    m_editReceive.SetSel(0, -1);
    m_editReceive.ScrollCaret();
    m_editReceive.ReplaceSel("", FALSE);
}
