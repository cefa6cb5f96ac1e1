#pragma once
// The POSIX socket calls this backend makes in the middle of its work, each wrapped once: it returns
// what the system returned and leaves errno as the system set it, with EINTR retried here and
// nowhere else. The Windows Sockets calls (Sockets.cpp) and the notice registry (Registry.cpp)
// receive, send, accept and ask what waits only through here. Twin: net/win32/Calls.h.

#include <sys/socket.h>
#include <sys/types.h>

namespace winsock::posix::calls {

ssize_t Recv(int fd, void* buffer, size_t length, int flags);
ssize_t RecvMsg(int fd, ::msghdr* message, int flags);
ssize_t Send(int fd, const void* data, size_t length, int flags);
ssize_t SendTo(int fd, const void* data, size_t length, int flags, const ::sockaddr* to, socklen_t toLength);
int Accept(int fd, ::sockaddr* peer, socklen_t* peerLength, int flags);
// The bytes waiting to be read (FIONREAD), or -1.
int BytesWaiting(int fd);
// The error a connect started without blocking ended with (SO_ERROR), or errno when it cannot be read.
int ConnectError(int fd);

}  // namespace winsock::posix::calls
