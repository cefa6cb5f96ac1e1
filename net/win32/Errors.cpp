// The socket service's last error: the system's own, per thread, in Windows Sockets numbers.
// Twin: net/qt/Errors.cpp.
#include "net/win32/Calls.h"
#include "net/winsock.h"

namespace winsock {

int WSAGetLastError() { return ws2::LastError(); }
void WSASetLastError(int error) { ws2::SetLastError(error); }

}  // namespace winsock
