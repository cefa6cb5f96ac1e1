// The Windows Sockets calls over POSIX sockets, with Windows Sockets' errors and its rules on
// datagrams cut short and connects that fail; each reports to the registry what it did, for the
// event notices. Twin: net/win32/Sockets.cpp.
// This header first: the system headers below define some of its names as macros.
#include "net/winsock.h"

namespace {
constexpr int kWsAfInet = winsock::AF_INET;
constexpr long kWsFionread = winsock::FIONREAD;
constexpr long kWsFionbio = winsock::FIONBIO;
}  // namespace

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

#include "framework/Wnd.h"
#include "net/qt/Calls.h"
#include "net/qt/Errors.h"
#include "net/qt/Registry.h"

namespace winsock {
namespace {

using posix::Fail;
using posix::FailFromErrno;

constexpr int kAddressLength = static_cast<int>(sizeof(winsock::sockaddr_in));

int Fd(SOCKET s) { return static_cast<int>(s); }

bool ToPosix(const winsock::sockaddr* name, int length, ::sockaddr_in* out) {
    if (name == nullptr || length < kAddressLength) {
        return Fail(WSAEFAULT, false);
    }
    winsock::sockaddr_in in{};
    std::memcpy(&in, name, sizeof in);
    if (in.sin_family != kWsAfInet) {
        return Fail(WSAEAFNOSUPPORT, false);
    }
    *out = {};
    out->sin_family = AF_INET;
    out->sin_port = in.sin_port;
    out->sin_addr.s_addr = in.sin_addr.s_addr;
    return true;
}

// Copies an address out when the caller asked for one; the length is checked as Windows does.
bool FromPosix(const ::sockaddr_in& address, winsock::sockaddr* name, int* length) {
    if (name == nullptr || length == nullptr) {
        return name == nullptr && length == nullptr ? true : Fail(WSAEFAULT, false);
    }
    if (*length < kAddressLength) {
        return Fail(WSAEFAULT, false);
    }
    winsock::sockaddr_in out{};
    out.sin_family = kWsAfInet;
    out.sin_port = address.sin_port;
    out.sin_addr.s_addr = address.sin_addr.s_addr;
    std::memcpy(name, &out, sizeof out);
    *length = kAddressLength;
    return true;
}

int PosixFlags(int flags) { return ((flags & winsock::MSG_PEEK) != 0 ? MSG_PEEK : 0) | MSG_NOSIGNAL; }

// One receive. A datagram longer than the buffer is an error, as on Windows: the buffer holds its
// first part and the rest is lost.
int Receive(SOCKET s, char* buffer, int length, int flags, ::sockaddr_in* from) {
    if (length < 0 || (buffer == nullptr && length > 0)) {
        return Fail(WSAEFAULT, SOCKET_ERROR);
    }
    iovec part{buffer, static_cast<size_t>(length)};
    msghdr message{};
    message.msg_name = from;
    message.msg_namelen = from != nullptr ? sizeof *from : 0;
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    // A stream read that wants no sender has no datagram to find cut short: the plain call costs
    // the kernel less than recvmsg does.
    const bool stream = posix::registry::IsStream(Fd(s));
    const bool plain = from == nullptr && stream;
    const ssize_t received = plain ? posix::calls::Recv(Fd(s), buffer, static_cast<size_t>(length), PosixFlags(flags))
                                   : posix::calls::RecvMsg(Fd(s), &message, PosixFlags(flags));
    const int savedErrno = errno;
    posix::registry::ReceiveCalled(Fd(s), received < 0 ? -1 : (flags & winsock::MSG_PEEK) != 0 ? 0 : received);
    if (received < 0) {
        return Fail(posix::ErrorFromErrno(savedErrno), SOCKET_ERROR);
    }
    if ((message.msg_flags & MSG_TRUNC) != 0 && !stream) {
        return Fail(WSAEMSGSIZE, SOCKET_ERROR);
    }
    return static_cast<int>(received);
}

int Send(SOCKET s, const char* buffer, int length, int flags, const ::sockaddr_in* to) {
    if (length < 0 || (buffer == nullptr && length > 0)) {
        return Fail(WSAEFAULT, SOCKET_ERROR);
    }
    const ssize_t sent = to != nullptr
                             ? posix::calls::SendTo(Fd(s), buffer, static_cast<size_t>(length), PosixFlags(flags),
                                                    reinterpret_cast<const ::sockaddr*>(to), sizeof *to)
                             : posix::calls::Send(Fd(s), buffer, static_cast<size_t>(length), PosixFlags(flags));
    if (sent < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            posix::registry::SendWouldBlock(Fd(s));
        }
        return FailFromErrno(SOCKET_ERROR);
    }
    return static_cast<int>(sent);
}

}  // namespace

SOCKET socket(int af, int type, int protocol) {
    if (af != kWsAfInet) {
        return Fail(WSAEAFNOSUPPORT, INVALID_SOCKET);
    }
    if (type != winsock::SOCK_STREAM && type != winsock::SOCK_DGRAM) {
        return Fail(WSAESOCKTNOSUPPORT, INVALID_SOCKET);
    }
    const bool stream = type == winsock::SOCK_STREAM;
    const int fd = ::socket(AF_INET, (stream ? SOCK_STREAM : SOCK_DGRAM) | SOCK_NONBLOCK | SOCK_CLOEXEC, protocol);
    if (fd < 0) {
        return FailFromErrno(INVALID_SOCKET);
    }
    if (stream) {
        // A listener must be able to take its port again while an old connection on it waits out
        // TIME_WAIT; a second live listener on the port is still refused by the system.
        const int on = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    }
    posix::registry::Add(fd, stream);
    return static_cast<SOCKET>(fd);
}

int bind(SOCKET s, const winsock::sockaddr* name, int nameLength) {
    ::sockaddr_in address{};
    if (!ToPosix(name, nameLength, &address)) {
        return SOCKET_ERROR;
    }
    if (::bind(Fd(s), reinterpret_cast<const ::sockaddr*>(&address), sizeof address) != 0) {
        return FailFromErrno(SOCKET_ERROR);
    }
    return 0;
}

int listen(SOCKET s, int backlog) {
    if (::listen(Fd(s), backlog) != 0) {
        return FailFromErrno(SOCKET_ERROR);
    }
    posix::registry::ListenSucceeded(Fd(s));
    return 0;
}

SOCKET accept(SOCKET s, winsock::sockaddr* address, int* addressLength) {
    ::sockaddr_in peer{};
    socklen_t peerLength = sizeof peer;
    const int fd =
        posix::calls::Accept(Fd(s), reinterpret_cast<::sockaddr*>(&peer), &peerLength, SOCK_NONBLOCK | SOCK_CLOEXEC);
    const int savedErrno = errno;
    const bool starved =
        fd < 0 && (savedErrno == EMFILE || savedErrno == ENFILE || savedErrno == ENOBUFS || savedErrno == ENOMEM);
    posix::registry::AcceptCalled(Fd(s), starved);
    if (fd < 0) {
        return Fail(posix::ErrorFromErrno(savedErrno), INVALID_SOCKET);
    }
    if (!FromPosix(peer, address, addressLength)) {
        ::close(fd);
        return INVALID_SOCKET;
    }
    posix::registry::AddAccepted(Fd(s), fd);
    return static_cast<SOCKET>(fd);
}

int connect(SOCKET s, const winsock::sockaddr* name, int nameLength) {
    ::sockaddr_in address{};
    if (!ToPosix(name, nameLength, &address)) {
        return SOCKET_ERROR;
    }
    // Windows refuses a connect to 0.0.0.0 or to port 0 in the call; this system would take the
    // first for this machine and connect there. Twin of win32/Calls.cpp's Connect.
    const bool refused = address.sin_addr.s_addr == htonl(INADDR_ANY) || address.sin_port == 0;
    const int result = refused ? -1 : ::connect(Fd(s), reinterpret_cast<const ::sockaddr*>(&address), sizeof address);
    if (result == 0) {
        posix::registry::ConnectEnded(Fd(s), 0);
        return 0;
    }
    const int error = refused ? WSAEADDRNOTAVAIL : posix::ErrorFromErrno(errno);
    if (!refused && (errno == EINPROGRESS || errno == EINTR)) {  // the connection goes on in the background
        posix::registry::ConnectStarted(Fd(s));
        return Fail(WSAEWOULDBLOCK, SOCKET_ERROR);
    }
    // A stream socket gets every failure of its connect through the connect event, as on Windows
    // when the network answers; only a connect already made or under way is refused by the call.
    if (error != WSAEALREADY && error != WSAEISCONN && posix::registry::IsStream(Fd(s))) {
        posix::registry::ConnectEnded(Fd(s), error);
        return Fail(WSAEWOULDBLOCK, SOCKET_ERROR);
    }
    return Fail(error, SOCKET_ERROR);
}

int send(SOCKET s, const char* buffer, int length, int flags) { return Send(s, buffer, length, flags, nullptr); }

int sendto(SOCKET s, const char* buffer, int length, int flags, const winsock::sockaddr* to, int toLength) {
    ::sockaddr_in address{};
    if (!ToPosix(to, toLength, &address)) {
        return SOCKET_ERROR;
    }
    return Send(s, buffer, length, flags, &address);
}

int recv(SOCKET s, char* buffer, int length, int flags) { return Receive(s, buffer, length, flags, nullptr); }

int recvfrom(SOCKET s, char* buffer, int length, int flags, winsock::sockaddr* from, int* fromLength) {
    ::sockaddr_in sender{};
    const int received = Receive(s, buffer, length, flags, &sender);
    if (received == SOCKET_ERROR) {
        return SOCKET_ERROR;
    }
    if (from != nullptr && !FromPosix(sender, from, fromLength)) {
        return SOCKET_ERROR;
    }
    return received;
}

int ioctlsocket(SOCKET s, long command, u_long* argument) {
    if (argument == nullptr) {
        return Fail(WSAEFAULT, SOCKET_ERROR);
    }
    if (command == kWsFionread) {
        int waiting = posix::registry::BytesKnownWaiting(Fd(s));
        if (waiting < 0 && (waiting = posix::calls::BytesWaiting(Fd(s))) < 0) {
            return FailFromErrno(SOCKET_ERROR);
        }
        *argument = static_cast<u_long>(waiting);
        return 0;
    }
    if (command == kWsFionbio) {
        const int flags = ::fcntl(Fd(s), F_GETFL);
        if (flags < 0 || ::fcntl(Fd(s), F_SETFL, *argument != 0 ? flags | O_NONBLOCK : flags & ~O_NONBLOCK) != 0) {
            return FailFromErrno(SOCKET_ERROR);
        }
        return 0;
    }
    return Fail(WSAEINVAL, SOCKET_ERROR);
}

int getpeername(SOCKET s, winsock::sockaddr* name, int* nameLength) {
    ::sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getpeername(Fd(s), reinterpret_cast<::sockaddr*>(&address), &length) != 0) {
        return FailFromErrno(SOCKET_ERROR);
    }
    return FromPosix(address, name, nameLength) ? 0 : SOCKET_ERROR;
}

int getsockname(SOCKET s, winsock::sockaddr* name, int* nameLength) {
    ::sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getsockname(Fd(s), reinterpret_cast<::sockaddr*>(&address), &length) != 0) {
        return FailFromErrno(SOCKET_ERROR);
    }
    return FromPosix(address, name, nameLength) ? 0 : SOCKET_ERROR;
}

int closesocket(SOCKET s) {
    posix::registry::Remove(Fd(s));
    // close() is not retried on EINTR: the descriptor is released whatever it reports.
    if (::close(Fd(s)) != 0 && errno != EINTR) {
        return FailFromErrno(SOCKET_ERROR);
    }
    return 0;
}

int WSAAsyncSelect(SOCKET s, HWND window, UINT message, long events) {
    const int flags = ::fcntl(Fd(s), F_GETFL);
    if (flags < 0) {
        return FailFromErrno(SOCKET_ERROR);
    }
    if (events != 0 && !IsWindow(window)) {
        return Fail(WSAEINVAL, SOCKET_ERROR);
    }
    ::fcntl(Fd(s), F_SETFL, flags | O_NONBLOCK);
    posix::registry::Select(Fd(s), window, message, events);
    return 0;
}

}  // namespace winsock
