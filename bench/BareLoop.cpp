#include "bench/BareLoop.h"

#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>

#include "bench/ThreadTimes.h"

namespace bench {

BareResult BareLoop(int fd, std::size_t total) {
    BareResult result;
    char buffer[2048];
    std::size_t received = 0;
    const ThreadTimes before = ThreadTimes::Now();
    while (received < total) {
        pollfd ready{fd, POLLIN, 0};
        ++result.calls;
        if (::poll(&ready, 1, 5000) <= 0) {
            break;  // the flood stopped short: the figure says how far it got
        }
        ++result.calls;
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
            break;
        }
        if (n > 0) {
            received += static_cast<std::size_t>(n);
            ++result.chunks;
        }
    }
    const ThreadTimes spent = ThreadTimes::Now() - before;
    result.mbps = static_cast<double>(received) / 1e6 / spent.wallSeconds;
    result.cpuMsPerMiB = spent.cpuSeconds * 1000 / (static_cast<double>(received) / (1024.0 * 1024.0));
    return result;
}

}  // namespace bench
