// Starting the system's Windows Sockets, or answering as the tests asked (StartupOutcome.h).
// Twin: net/qt/Startup.cpp.
#include <cstdio>
#include <cstring>

#include "net/StartupOutcome.h"
#include "net/win32/Calls.h"
#include "net/winsock.h"

namespace winsock {

int WSAStartup(WORD versionRequested, WSADATA* data) {
    if (data == nullptr) {
        return WSAEFAULT;
    }
    const auto& outcome = testing::StartupOverride();
    if (outcome && outcome->error != 0) {
        return outcome->error;
    }
    ws2::StartInfo info{};
    if (const int error = ws2::Startup(versionRequested, &info); error != 0) {
        return error;
    }
    std::memset(data, 0, sizeof *data);
    data->wVersion = outcome ? outcome->version : info.version;
    data->wHighVersion = info.highVersion;
    std::snprintf(data->szDescription, sizeof data->szDescription, "%s", info.description.c_str());
    std::snprintf(data->szSystemStatus, sizeof data->szSystemStatus, "%s", info.status.c_str());
    data->iMaxSockets = info.maxSockets;
    data->iMaxUdpDg = info.maxDatagram;
    return 0;
}

int WSACleanup() { return ws2::Cleanup(); }

}  // namespace winsock
