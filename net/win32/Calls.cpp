// The one file of the socket service that includes <winsock2.h>: thin calls into the system.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <winsock2.h>
#include <ws2tcpip.h>
#include <mswsock.h>

#include "net/win32/Calls.h"

#include <algorithm>
#include <map>

namespace ws2 {

static_assert(sizeof(sockaddr_in) == 16 && sizeof(in_addr) == 4);

int Startup(std::uint16_t versionRequested, StartInfo* info) {
    WSADATA data{};
    const int error = ::WSAStartup(versionRequested, &data);
    if (error != 0) {
        return error;
    }
    info->version = data.wVersion;
    info->highVersion = data.wHighVersion;
    info->description = data.szDescription;
    info->status = data.szSystemStatus;
    info->maxSockets = data.iMaxSockets;
    info->maxDatagram = data.iMaxUdpDg;
    return 0;
}

int Cleanup() { return ::WSACleanup(); }
int LastError() { return ::WSAGetLastError(); }
void SetLastError(int error) { ::WSASetLastError(error); }

namespace {

// Where each socket's notices go, as the program last asked for them.
struct Notices {
    HWND window;
    unsigned message;
    long events;
};

std::map<Socket, Notices>& Selected() {
    static std::map<Socket, Notices> selected;
    return selected;
}

// A failure of a connect that the connect notice reports: every one but a connect already made or
// under way, whose own outcome is given or still to come.
bool IsConnectOutcome(int error) { return error != WSAEWOULDBLOCK && error != WSAEALREADY && error != WSAEISCONN; }

bool IsStream(Socket s) {
    int type = 0;
    int length = sizeof type;
    return ::getsockopt(s, SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&type), &length) == 0 && type == SOCK_STREAM;
}

}  // namespace

int AsyncSelect(Socket s, void* window, unsigned message, long events) {
    const int result = ::WSAAsyncSelect(s, static_cast<HWND>(window), message, events);
    if (result == 0) {
        if (events != 0) {
            Selected()[s] = {static_cast<HWND>(window), message, events};
        } else {
            Selected().erase(s);
        }
    }
    return result;
}

Socket Open(int af, int type, int protocol) {
    const Socket s = ::socket(af, type, protocol);
    if (s != INVALID_SOCKET && type == SOCK_DGRAM) {
        // A datagram sent to a closed port draws the network's answer, which the system would
        // otherwise report as a reset on the endpoint's next receive, losing that datagram.
        BOOL report = FALSE;
        DWORD returned = 0;
        ::WSAIoctl(s, SIO_UDP_CONNRESET, &report, sizeof report, nullptr, 0, &returned, nullptr, nullptr);
    }
    return s;
}

int Bind(Socket s, const void* name, int nameLength) {
    return ::bind(s, static_cast<const sockaddr*>(name), nameLength);
}

int Listen(Socket s, int backlog) { return ::listen(s, backlog); }

Socket Accept(Socket s, void* address, int* addressLength) {
    return ::accept(s, static_cast<sockaddr*>(address), addressLength);
}

int Connect(Socket s, const void* name, int nameLength) {
    // Windows refuses a connect to 0.0.0.0 or to port 0 in the call; Wine passes the first on to
    // its host, which takes it for this machine and connects there. Both are refused here as
    // Windows refuses them (on Windows itself this changes nothing).
    const auto* to = static_cast<const sockaddr_in*>(name);
    const bool refused = nameLength >= static_cast<int>(sizeof(sockaddr_in)) && to->sin_family == AF_INET &&
                         (to->sin_addr.s_addr == htonl(INADDR_ANY) || to->sin_port == 0);
    if (!refused && ::connect(s, static_cast<const sockaddr*>(name), nameLength) == 0) {
        return 0;
    }
    // A stream socket that waits for its connect notice gets every failure through it, as it does
    // when the network answers later: the system gives some failures from the call (an unreachable
    // network, an address it does not connect to, such as 0.0.0.0), and then no notice follows.
    const int error = refused ? WSAEADDRNOTAVAIL : ::WSAGetLastError();
    const auto found = Selected().find(s);
    if (IsConnectOutcome(error) && found != Selected().end() && (found->second.events & FD_CONNECT) != 0 &&
        IsStream(s) &&
        ::PostMessageW(found->second.window, found->second.message, s, WSAMAKESELECTREPLY(FD_CONNECT, error)) !=
            FALSE) {
        ::WSASetLastError(WSAEWOULDBLOCK);
    }
    return SOCKET_ERROR;
}

int Send(Socket s, const char* buffer, int length, int flags) { return ::send(s, buffer, length, flags); }
int Receive(Socket s, char* buffer, int length, int flags) { return ::recv(s, buffer, length, flags); }

int SendTo(Socket s, const char* buffer, int length, int flags, const void* to, int toLength) {
    return ::sendto(s, buffer, length, flags, static_cast<const sockaddr*>(to), toLength);
}

int ReceiveFrom(Socket s, char* buffer, int length, int flags, void* from, int* fromLength) {
    return ::recvfrom(s, buffer, length, flags, static_cast<sockaddr*>(from), fromLength);
}

int Ioctl(Socket s, long command, std::uint32_t* argument) {
    u_long value = argument != nullptr ? *argument : 0;
    const int result = ::ioctlsocket(s, command, &value);
    if (argument != nullptr) {
        *argument = static_cast<std::uint32_t>(value);
    }
    return result;
}

int PeerName(Socket s, void* name, int* nameLength) {
    return ::getpeername(s, static_cast<sockaddr*>(name), nameLength);
}

int SockName(Socket s, void* name, int* nameLength) {
    return ::getsockname(s, static_cast<sockaddr*>(name), nameLength);
}

int Close(Socket s) {
    Selected().erase(s);
    return ::closesocket(s);
}

int HostName(char* name, int length) { return ::gethostname(name, length); }

std::optional<std::vector<std::uint32_t>> Resolve(const std::string& name) {
    const hostent* entry = ::gethostbyname(name.c_str());
    if (entry == nullptr || entry->h_addrtype != AF_INET || entry->h_length != 4) {
        return std::nullopt;
    }
    std::vector<std::uint32_t> addresses;
    for (char** address = entry->h_addr_list; *address != nullptr; ++address) {
        std::uint32_t value = 0;
        std::copy_n(*address, 4, reinterpret_cast<char*>(&value));
        addresses.push_back(value);
    }
    return addresses.empty() ? std::nullopt : std::optional(addresses);
}

std::uint32_t ParseAddress(const char* text) { return ::inet_addr(text); }

}  // namespace ws2
