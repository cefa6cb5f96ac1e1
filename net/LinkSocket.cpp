#include "net/LinkSocket.h"

#include <algorithm>
#include <climits>

CLinkSocket::CLinkSocket() : m_pOwner(nullptr) {}

CLinkSocket::~CLinkSocket() { DropUnsent(); }

BOOL CLinkSocket::SendWhole(const void* data, int length) {
    const auto size = static_cast<std::size_t>(std::max(length, 0));
    if (HasUnsent()) {
        if (UnsentBytes() + size > kMaxUnsentBytes) {
            return FALSE;
        }
        m_unsent.append(static_cast<const char*>(data), size);
        return TRUE;
    }
    const int taken = Send(data, length, 0);
    if (taken == winsock::SOCKET_ERROR) {
        if (GetLastError() != winsock::WSAEWOULDBLOCK) {
            return FALSE;  // no socket, or one that takes nothing more: nothing goes out
        }
        m_unsent.assign(static_cast<const char*>(data), size);
        m_unsentFrom = 0;
        return TRUE;
    }
    if (taken > 0 && m_pOwner != nullptr) {
        m_pOwner->OnLinkSent(this, taken);
    }
    if (static_cast<std::size_t>(taken) < size) {
        m_unsent.assign(static_cast<const char*>(data) + taken, size - static_cast<std::size_t>(taken));
        m_unsentFrom = 0;
        SendUnsent();
    }
    return TRUE;
}

void CLinkSocket::SendUnsent() {
    while (HasUnsent() && m_hSocket != winsock::INVALID_SOCKET) {
        const int chunk = static_cast<int>(std::min<std::size_t>(UnsentBytes(), INT_MAX));
        const int taken = Send(m_unsent.data() + m_unsentFrom, chunk, 0);
        if (taken == winsock::SOCKET_ERROR) {
            if (GetLastError() != winsock::WSAEWOULDBLOCK) {
                DropUnsent();  // the connection is gone; its close event follows
            }
            return;  // the write notice brings us back
        }
        if (taken == 0) {
            return;
        }
        m_unsentFrom += static_cast<std::size_t>(taken);
        if (!HasUnsent()) {
            DropUnsent();
        } else if (m_unsentFrom > m_unsent.size() / 2) {
            m_unsent.erase(0, m_unsentFrom);  // what has left is let go, at most once per half
            m_unsentFrom = 0;
        }
        // The owner may close the endpoint here, which drops what waits and ends the loop.
        if (m_pOwner != nullptr) {
            m_pOwner->OnLinkSent(this, taken);
        }
    }
}

void CLinkSocket::DropUnsent() {
    m_unsent.clear();
    m_unsent.shrink_to_fit();
    m_unsentFrom = 0;
}

void CLinkSocket::Close() {
    DropUnsent();
    CAsyncSocket::Close();
}

void CLinkSocket::OnSend(int errorCode) {
    if (errorCode != 0) {
        DropUnsent();
    } else {
        SendUnsent();
    }
    CAsyncSocket::OnSend(errorCode);
}

// An event that arrives before an owner is set has nobody to tell and is dropped.

void CLinkSocket::OnAccept(int errorCode) {
    if (m_pOwner != nullptr) {
        m_pOwner->OnLinkAccept(this, errorCode);
    }
    CAsyncSocket::OnAccept(errorCode);
}

void CLinkSocket::OnConnect(int errorCode) {
    if (m_pOwner != nullptr) {
        m_pOwner->OnLinkConnect(this, errorCode);
    }
    CAsyncSocket::OnConnect(errorCode);
}

void CLinkSocket::OnReceive(int errorCode) {
    if (m_pOwner != nullptr) {
        m_pOwner->OnLinkReceive(this, errorCode);
    }
    CAsyncSocket::OnReceive(errorCode);
}

void CLinkSocket::OnClose(int errorCode) {
    if (m_pOwner != nullptr) {
        m_pOwner->OnLinkClose(this, errorCode);
    }
    CAsyncSocket::OnClose(errorCode);
}
