#include "net/SocketService.h"

#include "framework/DataExchange.h"
#include "net/AsyncSocket.h"
#include "net/PerThread.h"

namespace net {

SocketThreadState& ThreadState() { return PerThread<SocketThreadState>(); }

BEGIN_MESSAGE_MAP(CSocketWnd, CWnd)
ON_MESSAGE(WM_SOCKET_NOTIFY, OnSocketNotify)
ON_MESSAGE(WM_SOCKET_DEAD, OnSocketDead)
END_MESSAGE_MAP()

// Notices reach the window in the order they were posted; one that arrives while a handler runs a
// modal loop is handed out inside that loop, as every posted message is.
LRESULT CSocketWnd::OnSocketNotify(WPARAM wParam, LPARAM lParam) {
    // What a socket event makes a handler do was not asked for by the user.
    const afx::UnpromptedScope unprompted;
    CAsyncSocket::DoCallBack(wParam, lParam);
    return 0;
}

LRESULT CSocketWnd::OnSocketDead(WPARAM wParam, LPARAM /*lParam*/) {
    auto& retired = ThreadState().retired;
    const auto found = retired.find(static_cast<winsock::SOCKET>(wParam));
    if (found != retired.end() && --found->second <= 0) {
        retired.erase(found);
    }
    return 0;
}

}  // namespace net

BOOL StartSocketService(winsock::WSADATA* data) {
    static bool started = false;
    if (!started) {
        winsock::WSADATA local{};
        winsock::WSADATA* record = data != nullptr ? data : &local;
        if (winsock::WSAStartup(MAKEWORD(1, 1), record) != 0) {
            return FALSE;
        }
        if (record->wVersion != MAKEWORD(1, 1)) {
            winsock::WSACleanup();
            return FALSE;
        }
        started = true;
    }
    net::ThreadState();
    return TRUE;
}

CAsyncSocket* CAsyncSocket::LookupHandle(winsock::SOCKET handle) {
    const auto& live = net::ThreadState().live;
    const auto found = live.find(handle);
    return found == live.end() ? nullptr : found->second;
}

void CAsyncSocket::AttachHandle(winsock::SOCKET handle, CAsyncSocket* socket) {
    auto& state = net::ThreadState();
    if (state.live.empty() && state.window.m_hWnd == nullptr) {
        if (!state.window.CreateEx(0, "AfxWnd", "Socket Notification Sink", 0, 0, 0, 0, 0, nullptr, 0)) {
            AfxThrowResourceException();
        }
    }
    state.live[handle] = socket;
}

void CAsyncSocket::DetachHandle(winsock::SOCKET handle) {
    auto& state = net::ThreadState();
    if (state.live.erase(handle) == 0 || !state.live.empty()) {
        return;
    }
    // The last socket is gone: the window goes with it, and with it every notice still waiting.
    state.window.DestroyWindow();
    state.retired.clear();
}

void CAsyncSocket::KillSocket(winsock::SOCKET handle) {
    auto& state = net::ThreadState();
    DetachHandle(handle);
    if (state.window.m_hWnd != nullptr) {
        state.window.PostMessage(WM_SOCKET_DEAD, static_cast<WPARAM>(handle), 0);
        state.retired[handle] += 1;
    }
}

void CAsyncSocket::DoCallBack(WPARAM wParam, LPARAM lParam) {
    if (wParam == 0 && lParam == 0) {
        return;
    }
    const auto handle = static_cast<winsock::SOCKET>(wParam);
    auto& state = net::ThreadState();
    if (state.retired.count(handle) != 0) {
        return;
    }
    CAsyncSocket* socket = LookupHandle(handle);
    if (socket == nullptr) {
        // An event of a connection accepted into a target that has not taken its handle yet.
        socket = LookupHandle(winsock::INVALID_SOCKET);
        if (socket == nullptr) {
            return;
        }
        socket->m_hSocket = handle;
        DetachHandle(winsock::INVALID_SOCKET);
        AttachHandle(handle, socket);
    }
    int error = static_cast<int>(winsock::WSAGETSELECTERROR(lParam));
    switch (winsock::WSAGETSELECTEVENT(lParam)) {
        case winsock::FD_READ: {
            DWORD waiting = 0;
            if (!socket->IOCtl(winsock::FIONREAD, &waiting)) {
                error = winsock::WSAGetLastError();
            }
            if (waiting != 0 || error != 0) {
                socket->OnReceive(error);
                break;
            }
            // A datagram of zero bytes announces itself without a byte waiting. Reading it away
            // lets the next datagram be announced; on a stream this read takes nothing.
            char byte = 0;
            if (winsock::recv(handle, &byte, 1, winsock::MSG_PEEK) == 0) {
                winsock::recv(handle, &byte, 1, 0);
            }
            break;
        }
        case winsock::FD_WRITE: socket->OnSend(error); break;
        case winsock::FD_OOB: socket->OnOutOfBandData(error); break;
        case winsock::FD_ACCEPT: socket->OnAccept(error); break;
        case winsock::FD_CONNECT: socket->OnConnect(error); break;
        case winsock::FD_CLOSE: socket->OnClose(error); break;
        default: break;
    }
}
