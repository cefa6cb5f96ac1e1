#pragma once
// The socket service: the Windows Sockets 1.1 calls the program uses, with their types, constants,
// error numbers and window-message event notification. Everything is in namespace winsock so that it
// never meets the operating system's own socket declarations. Several of the names here are macros
// in the system's socket headers: a file that includes both includes this one first and, after the
// system headers, does not use those names (AF_INET, INADDR_*, FIONREAD, FIONBIO, hton*, ntoh*).

#include <bit>
#include <cstdint>

#include "framework/AfxTypes.h"

namespace winsock {

using SOCKET = std::uint32_t;
using u_short = std::uint16_t;
using u_long = std::uint32_t;

inline constexpr SOCKET INVALID_SOCKET = 0xFFFFFFFFu;
inline constexpr int SOCKET_ERROR = -1;

inline constexpr int AF_INET = 2;
inline constexpr int SOCK_STREAM = 1;
inline constexpr int SOCK_DGRAM = 2;
inline constexpr int MSG_PEEK = 0x2;

inline constexpr u_long INADDR_ANY = 0x00000000u;
inline constexpr u_long INADDR_NONE = 0xFFFFFFFFu;
inline constexpr u_long INADDR_BROADCAST = 0xFFFFFFFFu;

// ioctlsocket commands: bytes waiting to be read, and the non-blocking switch.
inline constexpr long FIONREAD = 0x4004667F;
inline constexpr long FIONBIO = static_cast<long>(0x8004667EL);

// Events for WSAAsyncSelect.
inline constexpr long FD_READ = 0x01;
inline constexpr long FD_WRITE = 0x02;
inline constexpr long FD_OOB = 0x04;
inline constexpr long FD_ACCEPT = 0x08;
inline constexpr long FD_CONNECT = 0x10;
inline constexpr long FD_CLOSE = 0x20;

// The event message's lParam: event in the low word, error code in the high word.
constexpr LPARAM WSAMAKESELECTREPLY(unsigned event, unsigned error) {
    return static_cast<LPARAM>(MAKELONG(static_cast<WORD>(event), static_cast<WORD>(error)));
}
constexpr unsigned WSAGETSELECTEVENT(LPARAM lParam) { return LOWORD(static_cast<DWORD>(lParam)); }
constexpr unsigned WSAGETSELECTERROR(LPARAM lParam) { return HIWORD(static_cast<DWORD>(lParam)); }

// Error numbers.
inline constexpr int WSAEINTR = 10004;
inline constexpr int WSAEBADF = 10009;
inline constexpr int WSAEACCES = 10013;
inline constexpr int WSAEFAULT = 10014;
inline constexpr int WSAEINVAL = 10022;
inline constexpr int WSAEMFILE = 10024;
inline constexpr int WSAEWOULDBLOCK = 10035;
inline constexpr int WSAEINPROGRESS = 10036;
inline constexpr int WSAEALREADY = 10037;
inline constexpr int WSAENOTSOCK = 10038;
inline constexpr int WSAEDESTADDRREQ = 10039;
inline constexpr int WSAEMSGSIZE = 10040;
inline constexpr int WSAEPROTOTYPE = 10041;
inline constexpr int WSAENOPROTOOPT = 10042;
inline constexpr int WSAEPROTONOSUPPORT = 10043;
inline constexpr int WSAESOCKTNOSUPPORT = 10044;
inline constexpr int WSAEOPNOTSUPP = 10045;
inline constexpr int WSAEPFNOSUPPORT = 10046;
inline constexpr int WSAEAFNOSUPPORT = 10047;
inline constexpr int WSAEADDRINUSE = 10048;
inline constexpr int WSAEADDRNOTAVAIL = 10049;
inline constexpr int WSAENETDOWN = 10050;
inline constexpr int WSAENETUNREACH = 10051;
inline constexpr int WSAENETRESET = 10052;
inline constexpr int WSAECONNABORTED = 10053;
inline constexpr int WSAECONNRESET = 10054;
inline constexpr int WSAENOBUFS = 10055;
inline constexpr int WSAEISCONN = 10056;
inline constexpr int WSAENOTCONN = 10057;
inline constexpr int WSAESHUTDOWN = 10058;
inline constexpr int WSAETOOMANYREFS = 10059;
inline constexpr int WSAETIMEDOUT = 10060;
inline constexpr int WSAECONNREFUSED = 10061;
inline constexpr int WSAELOOP = 10062;
inline constexpr int WSAENAMETOOLONG = 10063;
inline constexpr int WSAEHOSTDOWN = 10064;
inline constexpr int WSAEHOSTUNREACH = 10065;
inline constexpr int WSASYSNOTREADY = 10091;
inline constexpr int WSAVERNOTSUPPORTED = 10092;
inline constexpr int WSANOTINITIALISED = 10093;
inline constexpr int WSAHOST_NOT_FOUND = 11001;
inline constexpr int WSANO_DATA = 11004;

struct in_addr {
    u_long s_addr;  // network byte order
};

// The 16-byte IPv4 address record.
struct sockaddr {
    u_short sa_family;
    char sa_data[14];
};

struct sockaddr_in {
    short sin_family;
    u_short sin_port;  // network byte order
    in_addr sin_addr;
    char sin_zero[8];
};
static_assert(sizeof(sockaddr_in) == 16 && sizeof(sockaddr) == 16);

struct hostent {
    char* h_name;
    char** h_aliases;
    short h_addrtype;
    short h_length;
    char** h_addr_list;  // null-terminated list of h_length-byte addresses in network order
};

inline constexpr int WSADESCRIPTION_LEN = 256;
inline constexpr int WSASYS_STATUS_LEN = 128;

struct WSADATA {
    WORD wVersion;
    WORD wHighVersion;
    char szDescription[WSADESCRIPTION_LEN + 1];
    char szSystemStatus[WSASYS_STATUS_LEN + 1];
    unsigned short iMaxSockets;
    unsigned short iMaxUdpDg;
    char* lpVendorInfo;
};

int WSAStartup(WORD versionRequested, WSADATA* data);
int WSACleanup();
int WSAGetLastError();
void WSASetLastError(int error);

// Asks for notice message `message` to be posted to `window` for each event in `events` (0 cancels).
// The socket becomes non-blocking. wParam of a notice is the socket, lParam WSAMAKESELECTREPLY.
int WSAAsyncSelect(SOCKET s, HWND window, UINT message, long events);

SOCKET socket(int af, int type, int protocol);
int bind(SOCKET s, const sockaddr* name, int nameLength);
int listen(SOCKET s, int backlog);
SOCKET accept(SOCKET s, sockaddr* address, int* addressLength);
int connect(SOCKET s, const sockaddr* name, int nameLength);
int send(SOCKET s, const char* buffer, int length, int flags);
int recv(SOCKET s, char* buffer, int length, int flags);
int sendto(SOCKET s, const char* buffer, int length, int flags, const sockaddr* to, int toLength);
int recvfrom(SOCKET s, char* buffer, int length, int flags, sockaddr* from, int* fromLength);
int ioctlsocket(SOCKET s, long command, u_long* argument);
int getpeername(SOCKET s, sockaddr* name, int* nameLength);
int getsockname(SOCKET s, sockaddr* name, int* nameLength);
int closesocket(SOCKET s);

int gethostname(char* name, int length);
// The result lives in storage of the calling thread until its next call.
hostent* gethostbyname(const char* name);
u_long inet_addr(const char* text);
// The result lives in storage of the calling thread until its next call.
char* inet_ntoa(in_addr address);

constexpr u_short htons(u_short value) {
    return std::endian::native == std::endian::big ? value : static_cast<u_short>((value << 8) | (value >> 8));
}
constexpr u_short ntohs(u_short value) { return htons(value); }
constexpr u_long htonl(u_long value) {
    return std::endian::native == std::endian::big ? value : __builtin_bswap32(value);
}
constexpr u_long ntohl(u_long value) { return htonl(value); }

}  // namespace winsock
