// The host's name, the addresses of names and dotted text, over the system's resolver; the host's
// own name resolves to its interfaces' addresses, as on Windows. Twin: net/win32/Resolver.cpp.
// This header first: the system headers below define some of its names as macros.
#include "net/winsock.h"

namespace {
constexpr winsock::u_long kWsInaddrNone = winsock::INADDR_NONE;
}  // namespace

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "net/qt/Errors.h"
#include "net/winsock_testing.h"

namespace winsock {
namespace {

using posix::Fail;

bool IsOwnName(const std::string& name) {
    char own[256] = {};
    return name.empty() || (::gethostname(own, sizeof own - 1) == 0 && ::strcasecmp(own, name.c_str()) == 0);
}

// The host's IPv4 interface addresses in interface order, loopback left out, as the Windows
// resolver answers for the host's own name; 127.0.0.1 when there is no other.
std::vector<std::uint32_t> InterfaceAddresses() {
    std::vector<std::uint32_t> addresses;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) == 0) {
        for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
            if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET ||
                (entry->ifa_flags & IFF_LOOPBACK) != 0 || (entry->ifa_flags & IFF_UP) == 0) {
                continue;
            }
            const auto* in = reinterpret_cast<const ::sockaddr_in*>(entry->ifa_addr);
            if (std::find(addresses.begin(), addresses.end(), in->sin_addr.s_addr) == addresses.end()) {
                addresses.push_back(in->sin_addr.s_addr);
            }
        }
        ::freeifaddrs(list);
    }
    if (addresses.empty()) {
        addresses.push_back(::htonl(INADDR_LOOPBACK));
    }
    return addresses;
}

}  // namespace

namespace testing {

std::optional<std::vector<std::uint32_t>> SystemHostLookup(const std::string& name) {
    ::in_addr numeric{};
    if (!name.empty() && ::inet_aton(name.c_str(), &numeric) != 0) {
        return std::vector<std::uint32_t>{numeric.s_addr};
    }
    if (IsOwnName(name)) {
        return InterfaceAddresses();
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0) {
        return std::nullopt;
    }
    std::vector<std::uint32_t> addresses;
    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        const auto* in = reinterpret_cast<const ::sockaddr_in*>(entry->ai_addr);
        if (std::find(addresses.begin(), addresses.end(), in->sin_addr.s_addr) == addresses.end()) {
            addresses.push_back(in->sin_addr.s_addr);
        }
    }
    ::freeaddrinfo(found);
    return addresses.empty() ? std::nullopt : std::optional(addresses);
}

}  // namespace testing

int gethostname(char* name, int length) {
    if (name == nullptr || length <= 0) {
        return Fail(WSAEFAULT, SOCKET_ERROR);
    }
    char own[256] = {};
    if (::gethostname(own, sizeof own - 1) != 0) {
        return posix::FailFromErrno(SOCKET_ERROR);
    }
    const std::size_t size = std::strlen(own) + 1;
    if (size > static_cast<std::size_t>(length)) {
        return Fail(WSAEFAULT, SOCKET_ERROR);
    }
    std::memcpy(name, own, size);
    return 0;
}

u_long inet_addr(const char* text) {
    ::in_addr address{};
    if (text == nullptr || ::inet_aton(text, &address) == 0) {
        return kWsInaddrNone;
    }
    return address.s_addr;
}

}  // namespace winsock
