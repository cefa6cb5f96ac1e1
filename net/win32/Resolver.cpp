// The host's name and the addresses of names, as the system resolves them, with the test seam that
// reaches the system's lookup. Twin: net/qt/Resolver.cpp.
#include "net/win32/Calls.h"
#include "net/winsock.h"
#include "net/winsock_testing.h"

namespace winsock {

namespace testing {
std::optional<std::vector<std::uint32_t>> SystemHostLookup(const std::string& name) { return ws2::Resolve(name); }
}  // namespace testing

int gethostname(char* name, int length) { return ws2::HostName(name, length); }

u_long inet_addr(const char* text) { return text != nullptr ? ws2::ParseAddress(text) : INADDR_NONE; }

}  // namespace winsock
