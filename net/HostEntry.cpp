// Name resolution as the socket service answers it on every platform: the host record of
// gethostbyname, filled from the system's lookup or from a test's, and the dotted text of an address.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "net/PerThread.h"
#include "net/winsock.h"
#include "net/winsock_testing.h"

namespace winsock {
namespace {

testing::HostLookup& LookupOverride() {
    static testing::HostLookup lookup;
    return lookup;
}

struct HostStorage {
    std::string name;
    std::vector<std::uint32_t> addresses;
    std::vector<char*> addressList;
    char* aliases[1] = {nullptr};
    hostent entry{};
};

hostent* Fail(int error) {
    WSASetLastError(error);
    return nullptr;
}

}  // namespace

namespace testing {
void SetHostLookup(HostLookup lookup) { LookupOverride() = std::move(lookup); }
}  // namespace testing

hostent* gethostbyname(const char* name) {
    if (name == nullptr) {
        return Fail(WSAEFAULT);
    }
    const auto& lookup = LookupOverride();
    auto addresses = lookup ? lookup(name) : testing::SystemHostLookup(name);
    if (!addresses || addresses->empty()) {
        return Fail(WSAHOST_NOT_FOUND);
    }
    HostStorage& storage = net::PerThread<HostStorage>();
    storage.name = name;
    storage.addresses = std::move(*addresses);
    storage.addressList.clear();
    for (std::uint32_t& address : storage.addresses) {
        storage.addressList.push_back(reinterpret_cast<char*>(&address));
    }
    storage.addressList.push_back(nullptr);
    storage.entry.h_name = storage.name.data();
    storage.entry.h_aliases = storage.aliases;
    storage.entry.h_addrtype = AF_INET;
    storage.entry.h_length = sizeof(std::uint32_t);
    storage.entry.h_addr_list = storage.addressList.data();
    return &storage.entry;
}

char* inet_ntoa(in_addr address) {
    thread_local char text[16];
    unsigned char bytes[4];
    std::memcpy(bytes, &address.s_addr, sizeof bytes);
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", bytes[0], bytes[1], bytes[2], bytes[3]);
    return text;
}

}  // namespace winsock
