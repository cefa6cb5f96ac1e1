#pragma once
// The socket service's last error: per thread, in Windows Sockets numbers.
// Twin: net/win32/Errors.cpp, where the system keeps the last error itself.

#include <cerrno>

#include "net/winsock.h"

namespace winsock::posix {

// The Windows Sockets number for an errno value.
int ErrorFromErrno(int error);

// Sets the last error to a Windows Sockets number and returns `result`, for a failing branch.
template <class T>
T Fail(int wsaError, T result) {
    WSASetLastError(wsaError);
    return result;
}

// The same, with the error taken from errno.
template <class T>
T FailFromErrno(T result) {
    return Fail(ErrorFromErrno(errno), result);
}

}  // namespace winsock::posix
