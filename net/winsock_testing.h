#pragma once
// Seams that let tests stand in for parts of the socket service the tests cannot control: the
// outcome of the service's start-up and the resolution of host names.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/AfxTypes.h"

namespace winsock::testing {

// Makes the next WSAStartup calls fail with `error` (non-zero), or succeed granting `version`.
void SetStartupOutcome(int error, WORD version);
// Restores the real start-up.
void ResetStartupOutcome();

// Resolves a host name to IPv4 addresses in network byte order; nullopt when the name is unknown.
using HostLookup = std::function<std::optional<std::vector<std::uint32_t>>(const std::string& name)>;
// Replaces name resolution for gethostbyname and everything built on it; an empty function restores
// the system's.
void SetHostLookup(HostLookup lookup);
// The system's own resolution, for a replacement that changes only some names.
std::optional<std::vector<std::uint32_t>> SystemHostLookup(const std::string& name);

}  // namespace winsock::testing
