#include "net/qt/Calls.h"

#include <sys/ioctl.h>

#include <cerrno>

namespace winsock::posix::calls {
namespace {

template <class Call>
auto Retried(Call call) {
    auto result = call();
    while (result < 0 && errno == EINTR) {
        result = call();
    }
    return result;
}

}  // namespace

ssize_t Recv(int fd, void* buffer, size_t length, int flags) {
    return Retried([&] { return ::recv(fd, buffer, length, flags); });
}

ssize_t RecvMsg(int fd, ::msghdr* message, int flags) {
    return Retried([&] { return ::recvmsg(fd, message, flags); });
}

ssize_t Send(int fd, const void* data, size_t length, int flags) {
    return Retried([&] { return ::send(fd, data, length, flags); });
}

ssize_t SendTo(int fd, const void* data, size_t length, int flags, const ::sockaddr* to, socklen_t toLength) {
    return Retried([&] { return ::sendto(fd, data, length, flags, to, toLength); });
}

int Accept(int fd, ::sockaddr* peer, socklen_t* peerLength, int flags) {
    return Retried([&] { return ::accept4(fd, peer, peerLength, flags); });
}

int BytesWaiting(int fd) {
    int waiting = 0;
    return ::ioctl(fd, FIONREAD, &waiting) == 0 ? waiting : -1;
}

int ConnectError(int fd) {
    int error = 0;
    socklen_t length = sizeof error;
    return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 ? error : errno;
}

}  // namespace winsock::posix::calls
