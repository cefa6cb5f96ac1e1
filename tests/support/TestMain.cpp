#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "framework/MessageLoop.h"
#include "net/winsock.h"
#include "res/Resources.h"
#include "net/winsock_testing.h"
#include "tests/support/DialogDriver.h"

// Tests never reach past loopback: a name that is neither dotted text nor the host's own name is
// unknown, instead of being asked of a name server.
static std::optional<std::vector<std::uint32_t>> LocalOnlyLookup(const std::string& name) {
    if (name == "localhost") {
        return std::vector<std::uint32_t>{winsock::htonl(0x7F000001u)};
    }
    char own[256] = {};
    const bool isOwn = name.empty() || (winsock::gethostname(own, sizeof own) == 0 && name == own);
    if (isOwn || winsock::inet_addr(name.c_str()) != winsock::INADDR_NONE) {
        return winsock::testing::SystemHostLookup(name);
    }
    return std::nullopt;
}

int main(int argc, char** argv) {
    test::PrepareBackend();
    CPlatform platform(argc, argv);
    AfxSetResourceTable(&QuenzoResources());
    winsock::testing::SetHostLookup(LocalOnlyLookup);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
