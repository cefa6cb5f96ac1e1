// What the test peers share on every platform: waiting with the message loop running, and the
// service's own sockets seen through the service.
#include <cstdlib>

#include "framework/MessageLoop.h"
#include "net/winsock.h"
#include "tests/support/Peers.h"

namespace test {

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    // An emulated machine (the 32-bit Windows guest) runs many times slower: what must come is
    // waited for that much longer there.
    static const int slowdown = [] {
        const char* factor = std::getenv("QUENZO_TEST_SLOWDOWN");
        const int parsed = factor != nullptr ? std::atoi(factor) : 1;
        return parsed > 1 ? parsed : 1;
    }();
    return AfxPumpMessagesUntil(done, timeoutMs * slowdown);
}

void PumpFor(int milliseconds) {
    AfxPumpMessagesUntil([] { return false; }, milliseconds);
}

Fd& Fd::operator=(Fd&& other) noexcept {
    if (this != &other) {
        reset();
        m_fd = other.release();
    }
    return *this;
}

Fd::~Fd() { reset(); }

Fd::Handle Fd::release() {
    const Handle fd = m_fd;
    m_fd = kNone;
    return fd;
}

std::uint16_t LocalPort(std::uint32_t s) {
    winsock::sockaddr_in address{};
    int length = sizeof address;
    winsock::getsockname(s, reinterpret_cast<winsock::sockaddr*>(&address), &length);
    return winsock::ntohs(address.sin_port);
}

}  // namespace test
