// The one file of the socket service that includes <winsock2.h>: thin calls into the system.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <winsock2.h>
#include <ws2tcpip.h>

#include "net/win32/Ws2.h"

#include <algorithm>

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

int AsyncSelect(Socket s, void* window, unsigned message, long events) {
    return ::WSAAsyncSelect(s, static_cast<HWND>(window), message, events);
}

Socket Open(int af, int type, int protocol) { return ::socket(af, type, protocol); }

int Bind(Socket s, const void* name, int nameLength) {
    return ::bind(s, static_cast<const sockaddr*>(name), nameLength);
}

int Listen(Socket s, int backlog) { return ::listen(s, backlog); }

Socket Accept(Socket s, void* address, int* addressLength) {
    return ::accept(s, static_cast<sockaddr*>(address), addressLength);
}

int Connect(Socket s, const void* name, int nameLength) {
    return ::connect(s, static_cast<const sockaddr*>(name), nameLength);
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

int Close(Socket s) { return ::closesocket(s); }

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
