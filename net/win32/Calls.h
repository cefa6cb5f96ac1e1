#pragma once
// The system's Windows Sockets calls, in plain types, each wrapped once. The socket service's header
// and the system's <winsock2.h> define the same names differently, so the service reaches the system
// through this header and only Calls.cpp includes <winsock2.h>. Constants, structures and error
// numbers are the system's own and pass through unchanged. Twin: net/qt/Calls.h.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ws2 {

using Socket = std::uintptr_t;
inline constexpr Socket kInvalidSocket = ~Socket{0};

struct StartInfo {
    std::uint16_t version;
    std::uint16_t highVersion;
    std::string description;
    std::string status;
    unsigned short maxSockets;
    unsigned short maxDatagram;
};
// 0 or the error number.
int Startup(std::uint16_t versionRequested, StartInfo* info);
int Cleanup();
int LastError();
void SetLastError(int error);

int AsyncSelect(Socket s, void* window, unsigned message, long events);
Socket Open(int af, int type, int protocol);
int Bind(Socket s, const void* name, int nameLength);
int Listen(Socket s, int backlog);
Socket Accept(Socket s, void* address, int* addressLength);
// A stream socket selected for its connect notice gets every failure of the call but "already"
// and "connected" through a notice, the call then failing with would-block. 0.0.0.0 and port 0
// are refused (WSAEADDRNOTAVAIL) as Windows refuses them, under Wine too.
int Connect(Socket s, const void* name, int nameLength);
int Send(Socket s, const char* buffer, int length, int flags);
int Receive(Socket s, char* buffer, int length, int flags);
int SendTo(Socket s, const char* buffer, int length, int flags, const void* to, int toLength);
int ReceiveFrom(Socket s, char* buffer, int length, int flags, void* from, int* fromLength);
int Ioctl(Socket s, long command, std::uint32_t* argument);
int PeerName(Socket s, void* name, int* nameLength);
int SockName(Socket s, void* name, int* nameLength);
int Close(Socket s);

int HostName(char* name, int length);
// The IPv4 addresses of `name` in network byte order, as the system resolves it; nullopt when
// unknown.
std::optional<std::vector<std::uint32_t>> Resolve(const std::string& name);
// Dotted text to an address in network byte order; 0xFFFFFFFF when it is none.
std::uint32_t ParseAddress(const char* text);

}  // namespace ws2
