// The socket service's last error, per thread, and the Windows Sockets number of each errno value.
// Twin: net/win32/Errors.cpp.
#include "net/qt/Errors.h"

namespace winsock {
namespace {
thread_local int lastError = 0;
}

int WSAGetLastError() { return lastError; }

void WSASetLastError(int error) { lastError = error; }

namespace posix {

int ErrorFromErrno(int error) {
    switch (error) {
        case 0: return 0;
        case EINTR: return WSAEINTR;
        case EBADF: return WSAENOTSOCK;
        case EACCES:
        case EPERM: return WSAEACCES;
        case EFAULT: return WSAEFAULT;
        case EINVAL: return WSAEINVAL;
        case EMFILE:
        case ENFILE: return WSAEMFILE;
        case EAGAIN: return WSAEWOULDBLOCK;
        case EINPROGRESS: return WSAEINPROGRESS;
        case EALREADY: return WSAEALREADY;
        case ENOTSOCK: return WSAENOTSOCK;
        case EDESTADDRREQ: return WSAEDESTADDRREQ;
        case EMSGSIZE: return WSAEMSGSIZE;
        case EPROTOTYPE: return WSAEPROTOTYPE;
        case ENOPROTOOPT: return WSAENOPROTOOPT;
        case EPROTONOSUPPORT: return WSAEPROTONOSUPPORT;
        case ESOCKTNOSUPPORT: return WSAESOCKTNOSUPPORT;
        case EOPNOTSUPP: return WSAEOPNOTSUPP;
        case EPFNOSUPPORT: return WSAEPFNOSUPPORT;
        case EAFNOSUPPORT: return WSAEAFNOSUPPORT;
        case EADDRINUSE: return WSAEADDRINUSE;
        case EADDRNOTAVAIL: return WSAEADDRNOTAVAIL;
        case ENETDOWN: return WSAENETDOWN;
        case ENETUNREACH: return WSAENETUNREACH;
        case ENETRESET: return WSAENETRESET;
        case ECONNABORTED: return WSAECONNABORTED;
        // Sending on a connection the peer has reset: Windows reports the reset itself.
        case EPIPE:
        case ECONNRESET: return WSAECONNRESET;
        case ENOBUFS:
        case ENOMEM: return WSAENOBUFS;
        case EISCONN: return WSAEISCONN;
        case ENOTCONN: return WSAENOTCONN;
        case ESHUTDOWN: return WSAESHUTDOWN;
        case ETOOMANYREFS: return WSAETOOMANYREFS;
        case ETIMEDOUT: return WSAETIMEDOUT;
        case ECONNREFUSED: return WSAECONNREFUSED;
        case ELOOP: return WSAELOOP;
        case ENAMETOOLONG: return WSAENAMETOOLONG;
        case EHOSTDOWN: return WSAEHOSTDOWN;
        case EHOSTUNREACH: return WSAEHOSTUNREACH;
        default: return WSAEINVAL;
    }
}

}  // namespace posix
}  // namespace winsock
