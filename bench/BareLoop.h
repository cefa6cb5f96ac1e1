#pragma once
// The ceiling the console's receive path is measured against: the console's receive rule with
// nothing shown. One poll, then one receive of at most 2048 bytes, for every readiness of a
// connected TCP socket, until the flood is in.

#include <cstddef>

namespace bench {

struct BareResult {
    double mbps = 0;
    double cpuMsPerMiB = 0;  // the receiving thread's processor time
    long chunks = 0;
    long calls = 0;  // polls and receives
};

// Reads `total` bytes from `fd` (connected, blocking or not) by the rule above, on this thread.
BareResult BareLoop(int fd, std::size_t total);

}  // namespace bench
