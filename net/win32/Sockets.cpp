// The socket service on the system's own Windows Sockets: every call goes to the system, with the
// service's types. Twin: net/qt/Sockets.cpp.
#include "net/win32/Calls.h"
#include "net/winsock.h"

namespace winsock {
namespace {

// The system's sockets are handles that fit in 32 bits.
SOCKET Ours(ws2::Socket s) { return s == ws2::kInvalidSocket ? INVALID_SOCKET : static_cast<SOCKET>(s); }
ws2::Socket Theirs(SOCKET s) { return s == INVALID_SOCKET ? ws2::kInvalidSocket : static_cast<ws2::Socket>(s); }

}  // namespace

int WSAAsyncSelect(SOCKET s, HWND window, UINT message, long events) {
    return ws2::AsyncSelect(Theirs(s), reinterpret_cast<void*>(window), message, events);
}

SOCKET socket(int af, int type, int protocol) { return Ours(ws2::Open(af, type, protocol)); }
int bind(SOCKET s, const sockaddr* name, int nameLength) { return ws2::Bind(Theirs(s), name, nameLength); }
int listen(SOCKET s, int backlog) { return ws2::Listen(Theirs(s), backlog); }

SOCKET accept(SOCKET s, sockaddr* address, int* addressLength) {
    return Ours(ws2::Accept(Theirs(s), address, addressLength));
}

int connect(SOCKET s, const sockaddr* name, int nameLength) { return ws2::Connect(Theirs(s), name, nameLength); }
int send(SOCKET s, const char* buffer, int length, int flags) { return ws2::Send(Theirs(s), buffer, length, flags); }
int recv(SOCKET s, char* buffer, int length, int flags) { return ws2::Receive(Theirs(s), buffer, length, flags); }

int sendto(SOCKET s, const char* buffer, int length, int flags, const sockaddr* to, int toLength) {
    return ws2::SendTo(Theirs(s), buffer, length, flags, to, toLength);
}

int recvfrom(SOCKET s, char* buffer, int length, int flags, sockaddr* from, int* fromLength) {
    return ws2::ReceiveFrom(Theirs(s), buffer, length, flags, from, fromLength);
}

int ioctlsocket(SOCKET s, long command, u_long* argument) { return ws2::Ioctl(Theirs(s), command, argument); }
int getpeername(SOCKET s, sockaddr* name, int* nameLength) { return ws2::PeerName(Theirs(s), name, nameLength); }
int getsockname(SOCKET s, sockaddr* name, int* nameLength) { return ws2::SockName(Theirs(s), name, nameLength); }
int closesocket(SOCKET s) { return ws2::Close(Theirs(s)); }

}  // namespace winsock
