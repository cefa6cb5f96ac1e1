// The socket service on the system's own Windows Sockets: every call goes to the system, with the
// service's types. Only start-up and name resolution have seams for tests.
#include <cstdio>
#include <cstring>
#include <optional>

#include "net/win32/Ws2.h"
#include "net/winsock.h"
#include "net/winsock_testing.h"

namespace winsock {
namespace {

struct StartupOutcome {
    int error;
    WORD version;
};

std::optional<StartupOutcome>& Override() {
    static std::optional<StartupOutcome> outcome;
    return outcome;
}

// The system's sockets are handles that fit in 32 bits.
SOCKET Ours(ws2::Socket s) { return s == ws2::kInvalidSocket ? INVALID_SOCKET : static_cast<SOCKET>(s); }
ws2::Socket Theirs(SOCKET s) { return s == INVALID_SOCKET ? ws2::kInvalidSocket : static_cast<ws2::Socket>(s); }

}  // namespace

namespace testing {
void SetStartupOutcome(int error, WORD version) { Override() = StartupOutcome{error, version}; }
void ResetStartupOutcome() { Override().reset(); }
std::optional<std::vector<std::uint32_t>> SystemHostLookup(const std::string& name) { return ws2::Resolve(name); }
}  // namespace testing

int WSAStartup(WORD versionRequested, WSADATA* data) {
    if (data == nullptr) {
        return WSAEFAULT;
    }
    if (Override() && Override()->error != 0) {
        return Override()->error;
    }
    ws2::StartInfo info{};
    if (const int error = ws2::Startup(versionRequested, &info); error != 0) {
        return error;
    }
    std::memset(data, 0, sizeof *data);
    data->wVersion = Override() ? Override()->version : info.version;
    data->wHighVersion = info.highVersion;
    std::snprintf(data->szDescription, sizeof data->szDescription, "%s", info.description.c_str());
    std::snprintf(data->szSystemStatus, sizeof data->szSystemStatus, "%s", info.status.c_str());
    data->iMaxSockets = info.maxSockets;
    data->iMaxUdpDg = info.maxDatagram;
    return 0;
}

int WSACleanup() { return ws2::Cleanup(); }
int WSAGetLastError() { return ws2::LastError(); }
void WSASetLastError(int error) { ws2::SetLastError(error); }

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

int gethostname(char* name, int length) { return ws2::HostName(name, length); }

u_long inet_addr(const char* text) { return text != nullptr ? ws2::ParseAddress(text) : INADDR_NONE; }

}  // namespace winsock
