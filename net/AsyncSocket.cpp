#include "net/AsyncSocket.h"

#include <cstring>

#include "net/SocketService.h"

namespace {

using winsock::SOCKET_ERROR;

winsock::sockaddr_in MakeAddress(winsock::u_long address, UINT port) {
    winsock::sockaddr_in in{};
    in.sin_family = winsock::AF_INET;
    in.sin_addr.s_addr = address;
    // Ports are 32-bit values of which the low 16 bits are the port.
    in.sin_port = winsock::htons(static_cast<winsock::u_short>(port));
    return in;
}

// Dotted decimal text, else the first address of the name; false with 10022 when neither works.
bool ResolveHost(const char* host, winsock::u_long* address) {
    *address = winsock::inet_addr(host);
    if (*address != winsock::INADDR_NONE) {
        return true;
    }
    const winsock::hostent* entry = winsock::gethostbyname(host);
    if (entry == nullptr || entry->h_addr_list[0] == nullptr) {
        winsock::WSASetLastError(winsock::WSAEINVAL);
        return false;
    }
    std::memcpy(address, entry->h_addr_list[0], sizeof *address);
    return true;
}

const winsock::sockaddr* AsGeneric(const winsock::sockaddr_in* in) {
    return reinterpret_cast<const winsock::sockaddr*>(in);
}

constexpr int kAddressLength = sizeof(winsock::sockaddr_in);

}  // namespace

CAsyncSocket::CAsyncSocket() : m_hSocket(winsock::INVALID_SOCKET) {}

CAsyncSocket::~CAsyncSocket() {
    if (m_hSocket != winsock::INVALID_SOCKET) {
        // Not the virtual Close: a derived part no longer exists here.
        CAsyncSocket::Close();
    }
}

BOOL CAsyncSocket::Create(UINT port, int type, long events, const char* address) {
    if (!Socket(type, events)) {
        return FALSE;
    }
    if (Bind(port, address)) {
        return TRUE;
    }
    const int error = GetLastError();
    Close();
    winsock::WSASetLastError(error);
    return FALSE;
}

BOOL CAsyncSocket::Socket(int type, long events, int protocol, int family) {
    m_hSocket = winsock::socket(family, type, protocol);
    if (m_hSocket == winsock::INVALID_SOCKET) {
        return FALSE;
    }
    try {
        AttachHandle(m_hSocket, this);
    } catch (...) {
        // Without a window no event could ever arrive: the socket is given back, not leaked.
        winsock::closesocket(m_hSocket);
        m_hSocket = winsock::INVALID_SOCKET;
        throw;
    }
    return AsyncSelect(events);
}

BOOL CAsyncSocket::AsyncSelect(long events) {
    const HWND window = net::ThreadState().window.m_hWnd;
    return winsock::WSAAsyncSelect(m_hSocket, window, WM_SOCKET_NOTIFY, events) != SOCKET_ERROR;
}

BOOL CAsyncSocket::Bind(UINT port, const char* address) {
    winsock::u_long in = winsock::htonl(winsock::INADDR_ANY);
    if (address != nullptr) {
        in = winsock::inet_addr(address);
        if (in == winsock::INADDR_NONE) {
            winsock::WSASetLastError(winsock::WSAEINVAL);
            return FALSE;
        }
    }
    const winsock::sockaddr_in name = MakeAddress(in, port);
    return winsock::bind(m_hSocket, AsGeneric(&name), kAddressLength) != SOCKET_ERROR;
}

BOOL CAsyncSocket::Connect(const char* host, UINT port) {
    winsock::u_long address = 0;
    if (host == nullptr || !ResolveHost(host, &address)) {
        winsock::WSASetLastError(winsock::WSAEINVAL);
        return FALSE;
    }
    const winsock::sockaddr_in name = MakeAddress(address, port);
    return ConnectHelper(AsGeneric(&name), kAddressLength);
}

BOOL CAsyncSocket::ConnectHelper(const winsock::sockaddr* address, int length) {
    return winsock::connect(m_hSocket, address, length) != SOCKET_ERROR;
}

BOOL CAsyncSocket::Accept(CAsyncSocket& connected, winsock::sockaddr* address, int* addressLength) {
    // The target stands in the live table under the no-socket handle while the call runs, so that
    // an event of the new connection dispatched meanwhile finds it.
    AttachHandle(winsock::INVALID_SOCKET, &connected);
    const winsock::SOCKET accepted = winsock::accept(m_hSocket, address, addressLength);
    if (accepted == winsock::INVALID_SOCKET) {
        const int error = GetLastError();
        DetachHandle(connected.m_hSocket);
        DetachHandle(winsock::INVALID_SOCKET);
        connected.m_hSocket = winsock::INVALID_SOCKET;
        winsock::WSASetLastError(error);
        return FALSE;
    }
    if (LookupHandle(winsock::INVALID_SOCKET) != nullptr) {
        connected.m_hSocket = accepted;
        DetachHandle(winsock::INVALID_SOCKET);
        AttachHandle(accepted, &connected);
    }
    return TRUE;
}

void CAsyncSocket::Close() {
    if (m_hSocket == winsock::INVALID_SOCKET) {
        return;
    }
    // Closing ends the socket's event registration; a notice already posted is dropped when it
    // is dispatched, because the handle is retired.
    winsock::closesocket(m_hSocket);
    KillSocket(m_hSocket);
    m_hSocket = winsock::INVALID_SOCKET;
}

int CAsyncSocket::Receive(void* buffer, int capacity, int flags) {
    return winsock::recv(m_hSocket, static_cast<char*>(buffer), capacity, flags);
}

int CAsyncSocket::Send(const void* data, int length, int flags) {
    return winsock::send(m_hSocket, static_cast<const char*>(data), length, flags);
}

int CAsyncSocket::SendTo(const void* data, int length, UINT port, const char* host, int flags) {
    winsock::u_long address = winsock::htonl(winsock::INADDR_BROADCAST);
    if (host != nullptr && !ResolveHost(host, &address)) {
        return SOCKET_ERROR;
    }
    const winsock::sockaddr_in to = MakeAddress(address, port);
    return SendToHelper(data, length, AsGeneric(&to), kAddressLength, flags);
}

int CAsyncSocket::SendToHelper(const void* data, int length, const winsock::sockaddr* to, int toLength, int flags) {
    return winsock::sendto(m_hSocket, static_cast<const char*>(data), length, flags, to, toLength);
}

int CAsyncSocket::ReceiveFrom(void* buffer, int capacity, CString& address, UINT& port, int flags) {
    winsock::sockaddr_in from{};
    int fromLength = kAddressLength;
    const int received =
        ReceiveFromHelper(buffer, capacity, reinterpret_cast<winsock::sockaddr*>(&from), &fromLength, flags);
    if (received != SOCKET_ERROR) {
        port = winsock::ntohs(from.sin_port);
        address = winsock::inet_ntoa(from.sin_addr);
    }
    return received;
}

int CAsyncSocket::ReceiveFromHelper(void* buffer, int capacity, winsock::sockaddr* from, int* fromLength, int flags) {
    return winsock::recvfrom(m_hSocket, static_cast<char*>(buffer), capacity, flags, from, fromLength);
}

BOOL CAsyncSocket::GetPeerName(CString& address, UINT& port) {
    winsock::sockaddr_in peer{};
    int length = kAddressLength;
    if (winsock::getpeername(m_hSocket, reinterpret_cast<winsock::sockaddr*>(&peer), &length) == SOCKET_ERROR) {
        return FALSE;
    }
    port = winsock::ntohs(peer.sin_port);
    address = winsock::inet_ntoa(peer.sin_addr);
    return TRUE;
}

BOOL CAsyncSocket::IOCtl(long command, DWORD* argument) {
    winsock::u_long value = *argument;
    const int result = winsock::ioctlsocket(m_hSocket, command, &value);
    *argument = value;
    return result != SOCKET_ERROR;
}

void CAsyncSocket::OnReceive(int /*errorCode*/) {}
void CAsyncSocket::OnSend(int /*errorCode*/) {}
void CAsyncSocket::OnOutOfBandData(int /*errorCode*/) {}
void CAsyncSocket::OnAccept(int /*errorCode*/) {}
void CAsyncSocket::OnConnect(int /*errorCode*/) {}
void CAsyncSocket::OnClose(int /*errorCode*/) {}
