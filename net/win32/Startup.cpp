// Starting the system's Windows Sockets, with a seam for tests that makes the start fail or grant
// another version. Twin: net/qt/Startup.cpp.
#include <cstdio>
#include <cstring>
#include <optional>

#include "net/win32/Calls.h"
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

}  // namespace

namespace testing {
void SetStartupOutcome(int error, WORD version) { Override() = StartupOutcome{error, version}; }
void ResetStartupOutcome() { Override().reset(); }
}  // namespace testing

int WSAStartup(WORD versionRequested, WSADATA* data) {
    if (data == nullptr) {
        return WSAEFAULT;
    }
    if (Override() && Override()->error != 0) {
        return Override()->error;
    }
    ws2::StartInfo info{};
    if (const int error = ws2::Startup(versionRequested, &info); error != 0) {
        return error;
    }
    std::memset(data, 0, sizeof *data);
    data->wVersion = Override() ? Override()->version : info.version;
    data->wHighVersion = info.highVersion;
    std::snprintf(data->szDescription, sizeof data->szDescription, "%s", info.description.c_str());
    std::snprintf(data->szSystemStatus, sizeof data->szSystemStatus, "%s", info.status.c_str());
    data->iMaxSockets = info.maxSockets;
    data->iMaxUdpDg = info.maxDatagram;
    return 0;
}

int WSACleanup() { return ws2::Cleanup(); }

}  // namespace winsock
