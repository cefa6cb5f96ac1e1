// Starting the socket service over POSIX sockets, which need no start: the versions Windows Sockets
// grants and counted starts and cleanups, or the answer the tests asked for (StartupOutcome.h).
// Twin: net/win32/Startup.cpp.
#include <cstring>

#include "net/StartupOutcome.h"
#include "net/winsock.h"

namespace winsock {
namespace {

int& StartCount() {
    static int count = 0;
    return count;
}

// The highest version this service implements.
constexpr WORD kHighVersion = MAKEWORD(2, 2);

}  // namespace

int WSAStartup(WORD versionRequested, WSADATA* data) {
    if (data == nullptr) {
        return WSAEFAULT;
    }
    WORD granted = versionRequested;
    if (const auto& outcome = testing::StartupOverride()) {
        if (outcome->error != 0) {
            return outcome->error;
        }
        granted = outcome->version;
    } else {
        // The granted version is the one asked for, capped at the highest the service offers.
        const auto asked = MAKEWORD(HIBYTE(versionRequested), LOBYTE(versionRequested));
        const auto highest = MAKEWORD(HIBYTE(kHighVersion), LOBYTE(kHighVersion));
        if (LOBYTE(versionRequested) == 0) {
            return WSAVERNOTSUPPORTED;
        }
        granted = asked > highest ? kHighVersion : versionRequested;
    }
    std::memset(data, 0, sizeof *data);
    data->wVersion = granted;
    data->wHighVersion = kHighVersion;
    std::strcpy(data->szDescription, "Quenzo socket service");
    std::strcpy(data->szSystemStatus, "Running");
    data->iMaxSockets = 32767;
    data->iMaxUdpDg = 65467;
    StartCount() += 1;
    return 0;
}

int WSACleanup() {
    if (StartCount() == 0) {
        WSASetLastError(WSANOTINITIALISED);
        return SOCKET_ERROR;
    }
    StartCount() -= 1;
    return 0;
}

}  // namespace winsock
