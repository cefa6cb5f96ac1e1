#pragma once
// Test peers on 127.0.0.1 made with the operating system's own sockets, so that what the tests
// check is never also what drives them.

#include <cstdint>
#include <functional>
#include <string>

namespace test {

// Delivers messages until done() or five seconds (times QUENZO_TEST_SLOWDOWN, when it is set); true
// when done().
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);
// Delivers messages for a while, for checking that something does not happen.
void PumpFor(int milliseconds);

// A socket of the system's (a descriptor, or a Windows socket handle) that is closed when the
// object goes.
class Fd {
public:
    using Handle = std::intptr_t;
    static constexpr Handle kNone = -1;
    explicit Fd(Handle fd = kNone) : m_fd(fd) {}
    Fd(Fd&& other) noexcept : m_fd(other.release()) {}
    Fd& operator=(Fd&& other) noexcept;
    ~Fd();
    Handle get() const { return m_fd; }
    Handle release();
    void reset();

private:
    Handle m_fd;
};

Fd TcpListener(std::uint16_t* port);  // listening on 127.0.0.1, any free port
Fd TcpConnect(std::uint16_t port);    // blocking connect to 127.0.0.1:port
Fd TcpAccept(const Fd& listener, int timeoutMs = 5000);
// A non-blocking connect to 127.0.0.1:port, begun and not waited for.
Fd TcpConnectStarted(std::uint16_t port);
// What became of a TCP socket within `timeoutMs`, messages delivered meanwhile: 0 while it is still
// connected and quiet, the system's error number (kConnectionRefused, kConnectionReset, ...) when
// it failed, -1 at end of stream.
int TcpFate(const Fd& fd, int timeoutMs);
extern const int kConnectionRefused;
extern const int kConnectionReset;
// Whether a connect to 127.0.0.1:port is accepted by anything.
bool TryTcpConnect(std::uint16_t port);
// The local port of a socket of the test's.
std::uint16_t LocalPort(const Fd& fd);
Fd UdpSocket(std::uint16_t* port);    // bound to 127.0.0.1, any free port
std::uint16_t FreePort(bool stream);  // a port nobody holds right now
// Whether a socket without address reuse can bind the port on any address.
bool PlainBindSucceeds(std::uint16_t port);

void SendAll(const Fd& fd, const std::string& data);
void SendDatagram(const Fd& fd, std::uint16_t port, const std::string& data);
// Reads until `length` bytes arrived or the peer closed.
std::string ReceiveExactly(const Fd& fd, std::size_t length, int timeoutMs = 5000);
// The size of the next datagram waiting on `fd` (which it takes), or -1 when none comes.
int ReceiveDatagramSize(const Fd& fd, int timeoutMs = 2000);
// Ends the sending direction only; the peer reads to the end and gets an orderly close.
void ShutdownWrite(const Fd& fd);
// Closes with an immediate reset instead of an orderly close.
void Reset(Fd& fd);

// The local port a socket of the service under test (a winsock::SOCKET) is bound to.
std::uint16_t LocalPort(std::uint32_t s);
// Whether the Windows build runs under Wine, whose sockets and text layout differ from Windows' in
// a few places the tests name where they meet them.
bool UnderWine();
// Number of open descriptors (handles, on Windows) of this process.
int OpenDescriptors();

}  // namespace test
