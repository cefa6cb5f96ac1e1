#pragma once
// What the tests asked the socket service's start-up to answer (winsock_testing.h), kept once for
// both backends' WSAStartup.

#include <optional>

#include "framework/AfxTypes.h"

namespace winsock::testing {

struct StartupOutcome {
    int error;     // non-zero: WSAStartup fails with it
    WORD version;  // else the version it grants
};

// The outcome set by SetStartupOutcome, or none: the real start-up.
const std::optional<StartupOutcome>& StartupOverride();

}  // namespace winsock::testing
