// Starting the socket service over POSIX sockets, which need no start: the versions Windows Sockets
// grants, counted starts and cleanups, and a seam for tests that makes the start fail or grant
// another version. Twin: net/win32/Startup.cpp.
#include <cstring>
#include <optional>

#include "net/winsock.h"
#include "net/winsock_testing.h"

namespace winsock {
namespace {

struct StartupOutcome {
    int error;
    WORD version;
};

std::optional<StartupOutcome>& Override() {
    static std::optional<StartupOutcome> outcome;
    return outcome;
}

int& StartCount() {
    static int count = 0;
    return count;
}

// The highest version this service implements.
constexpr WORD kHighVersion = MAKEWORD(2, 2);

}  // namespace

namespace testing {
void SetStartupOutcome(int error, WORD version) { Override() = StartupOutcome{error, version}; }
void ResetStartupOutcome() { Override().reset(); }
}  // namespace testing

int WSAStartup(WORD versionRequested, WSADATA* data) {
    if (data == nullptr) {
        return WSAEFAULT;
    }
    WORD granted = versionRequested;
    if (Override()) {
        if (Override()->error != 0) {
            return Override()->error;
        }
        granted = Override()->version;
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
