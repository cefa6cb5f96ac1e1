// The soak: thousands of link open/close cycles in each mode, then two consoles linked to each
// other flooding both ways with auto-send at 1 ms, all in one process. Prints descriptors, memory and
// counters after the first cycle and at the end; judges nothing.
//   console_soak [cycles per mode] [MiB each way]

// The program's headers first: the system socket headers define some of their names as macros.
#include "bench/BenchSupport.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

namespace {

using bench::Check;
using bench::Click;
using bench::Clock;
using bench::PumpUntil;
using bench::RunConsole;
using bench::Seconds;
using bench::SetModule;

constexpr std::int64_t kMiB = std::int64_t{1024} * 1024;
constexpr int kWait = 5000;

std::string Status(const CConsoleDlg& dialog) { return dialog.m_statusBar.GetText(0).str(); }

void SetText(CConsoleDlg& dialog, int id, const std::string& text) { dialog.SetDlgItemText(id, text.c_str()); }

void Await(const std::function<bool()>& done, const char* what) { Check(PumpUntil(done, kWait), what); }

void SendBlocking(int fd, const char* text) {
    Check(::send(fd, text, std::strlen(text), MSG_NOSIGNAL) == static_cast<ssize_t>(std::strlen(text)), "send");
}

void ReceiveBlocking(int fd, std::size_t length) {
    char buffer[64];
    Check(::recv(fd, buffer, length, MSG_WAITALL) == static_cast<ssize_t>(length), "recv");
}

struct Sample {
    int fds = 0;
    long rssKiB = 0;
    long heapKiB = 0;
    static Sample Now() { return {bench::OpenDescriptors(), bench::RssKiB(), bench::HeapInUseKiB()}; }
};

struct CycleResult {
    Sample first;
    Sample last;
    double seconds = 0;
    std::int64_t recvCount = 0;
    std::int64_t sendCount = 0;
};

// One link a cycle: open, one message each way, then closed by the console on even cycles and by
// the peer on odd ones. `open` makes the link and returns the peer's descriptor.
CycleResult Cycles(CConsoleApp& app, int cycles, const std::function<void(CConsoleDlg&)>& prepare,
                   const std::function<int(CConsoleDlg&)>& open, bool udp) {
    CycleResult result;
    RunConsole(app, [&](CConsoleDlg& dialog) {
        prepare(dialog);
        SetText(dialog, IDC_EDIT_SEND, "ping");
        const auto start = Clock::now();
        for (int i = 0; i < cycles; ++i) {
            const int peer = open(dialog);
            Click(dialog, IDC_BUTTON_SEND);
            ReceiveBlocking(peer, 4);
            if (!udp) {
                SendBlocking(peer, "pong");
                Await([&] { return dialog.m_nRecvCount == std::int64_t{4} * (i + 1); }, "pong");
            }
            if (udp || i % 2 == 0) {
                Click(dialog, IDC_BUTTON_CLOSE);
                ::close(peer);
            } else {
                ::close(peer);
                Await([&] { return Status(dialog) == "READY"; }, "the peer's close");
            }
            if (i == 0) {
                result.first = Sample::Now();
            }
        }
        result.seconds = Seconds(Clock::now() - start);
        result.last = Sample::Now();
        result.recvCount = dialog.m_nRecvCount;
        result.sendCount = dialog.m_nSendCount;
    });
    return result;
}

void PrintCycles(const char* mode, int cycles, const CycleResult& r) {
    const std::int64_t expected = std::int64_t{4} * cycles;
    std::printf(
        "%-7s %5d cycles %5.1f s  fds %d -> %d  heap %ld -> %ld KiB  RSS %ld -> %ld KiB  counters %s (%lld/%lld)\n",
        mode, cycles, r.seconds, r.first.fds, r.last.fds, r.first.heapKiB, r.last.heapKiB, r.first.rssKiB,
        r.last.rssKiB, r.recvCount == expected && r.sendCount == expected ? "exact" : "WRONG",
        static_cast<long long>(r.recvCount), static_cast<long long>(r.sendCount));
}

void CycleAllModes(CConsoleApp& app, int cycles) {
    std::uint16_t listenerPort = 0;
    const int listener = bench::Listener(&listenerPort);
    PrintCycles("client", cycles,
                Cycles(
                    app, cycles, [&](CConsoleDlg& dialog) { SetModule(dialog, listenerPort); },
                    [&](CConsoleDlg& dialog) {
                        Click(dialog, IDC_BUTTON_CONNECT);
                        Await([&] { return Status(dialog) == "CREATE NEW CONNECT."; }, "connect");
                        return ::accept(listener, nullptr, nullptr);
                    },
                    false));
    ::close(listener);

    // The server listens on the same port every cycle, its last connection often in TIME_WAIT.
    const std::uint16_t serverPort = bench::FreePort(SOCK_STREAM);
    PrintCycles("server", cycles,
                Cycles(
                    app, cycles,
                    [&](CConsoleDlg& dialog) {
                        Click(dialog, IDC_CHECK_SERVER);
                        SetText(dialog, IDC_EDIT_LOCAL_PORT, std::to_string(serverPort));
                    },
                    [&](CConsoleDlg& dialog) {
                        Click(dialog, IDC_BUTTON_CONNECT);
                        Check(Status(dialog) == "LISTENING " + std::to_string(serverPort) + " PORT...", "listen");
                        const int peer = bench::ConnectTo(serverPort);
                        Await([&] { return Status(dialog) == "CONNECT SUCCESS."; }, "accept");
                        return peer;
                    },
                    false));

    const std::uint16_t udpPort = bench::FreePort(SOCK_DGRAM);
    std::uint16_t peerPort = 0;
    const int udpPeer = bench::UdpSocket(&peerPort);
    const sockaddr_in console = bench::Loopback(udpPort);
    int received = 0;
    PrintCycles(
        "udp", cycles,
        Cycles(
            app, cycles,
            [&](CConsoleDlg& dialog) {
                SetModule(dialog, peerPort);
                Click(dialog, IDC_CHECK_TCP);
                SetText(dialog, IDC_EDIT_LOCAL_PORT, std::to_string(udpPort));
            },
            [&](CConsoleDlg& dialog) {
                Click(dialog, IDC_BUTTON_CONNECT);
                Check(Status(dialog) == "BINDED " + std::to_string(udpPort) + " PORT", "bind");
                Check(::sendto(udpPeer, "pong", 4, 0, reinterpret_cast<const sockaddr*>(&console), sizeof console) == 4,
                      "sendto");
                received += 4;
                Await([&] { return dialog.m_nRecvCount == received; }, "datagram");
                return ::dup(udpPeer);
            },
            true));
    ::close(udpPeer);
}

// A text of `length` bytes in lines, as a device's log might read.
std::string Lines(std::size_t length) {
    std::string text;
    while (text.size() < length) {
        text += "line " + std::to_string(text.size()) + " abcdefghijklmnopqrstuvwxyz 0123456789\r\n";
    }
    text.resize(length);
    return text;
}

// Console `server` listens, console `client` connects to it; both auto-send every 1 ms until each
// has received `total` bytes.
void FloodBothWays(CConsoleApp& app, std::int64_t total) {
    const std::uint16_t port = bench::FreePort(SOCK_STREAM);
    const std::string message = Lines(std::size_t{16} * 1024);
    RunConsole(app, [&](CConsoleDlg& server) {
        Click(server, IDC_CHECK_SERVER);
        SetText(server, IDC_EDIT_LOCAL_PORT, std::to_string(port));
        Click(server, IDC_BUTTON_CONNECT);
        RunConsole(
            app,
            [&](CConsoleDlg& client) {
                SetModule(client, port);
                Click(client, IDC_BUTTON_CONNECT);
                Await([&] { return Status(client) == "CREATE NEW CONNECT." && Status(server) == "CONNECT SUCCESS."; },
                      "the consoles' link");
                const Sample first = Sample::Now();
                // The client runs as a modal dialog over the server, which is disabled meanwhile as
                // an owner is: the server is enabled for just as long as the script acts on it, as
                // if it were a console of its own.
                const auto actOn = [&](CConsoleDlg& dialog, const std::function<void()>& act) {
                    const BOOL wasDisabled = dialog.EnableWindow(TRUE);
                    act();
                    dialog.EnableWindow(wasDisabled ? FALSE : TRUE);
                };
                for (CConsoleDlg* dialog : {&server, &client}) {
                    actOn(*dialog, [&] {
                        SetText(*dialog, IDC_EDIT_SEND, message);
                        SetText(*dialog, IDC_EDIT_CYCLE, "1");
                        Click(*dialog, IDC_CHECK_AUTO_SEND);
                    });
                }
                const auto start = Clock::now();
                const auto bothReceived = [&](std::int64_t bytes) {
                    return server.m_nRecvCount >= bytes && client.m_nRecvCount >= bytes;
                };
                Check(PumpUntil([&] { return bothReceived(total / 10); }, 3600000), "the flood");
                const Sample early = Sample::Now();
                Check(PumpUntil([&] { return bothReceived(total); }, 3600000), "the flood");
                const double seconds = Seconds(Clock::now() - start);
                for (CConsoleDlg* dialog : {&server, &client}) {
                    actOn(*dialog, [&] { Click(*dialog, IDC_CHECK_AUTO_SEND); });
                }
                // What is in flight arrives; then each side has received what the other sent.
                const bool exact = PumpUntil(
                    [&] {
                        return server.m_nRecvCount == client.m_nSendCount && client.m_nRecvCount == server.m_nSendCount;
                    },
                    10000);
                const Sample last = Sample::Now();
                std::printf("flood both ways, auto-send 1 ms, %zu-byte texts, %.1f s\n", message.size(), seconds);
                std::printf("  server: received %lld, sent %lld (%.1f MB/s in)\n",
                            static_cast<long long>(server.m_nRecvCount), static_cast<long long>(server.m_nSendCount),
                            static_cast<double>(server.m_nRecvCount) / 1e6 / seconds);
                std::printf("  client: received %lld, sent %lld (%.1f MB/s in)\n",
                            static_cast<long long>(client.m_nRecvCount), static_cast<long long>(client.m_nSendCount),
                            static_cast<double>(client.m_nRecvCount) / 1e6 / seconds);
                std::printf("  counters %s, fds %d -> %d\n",
                            exact ? "exact (each side received what the other sent)" : "WRONG", first.fds, last.fds);
                std::printf("  heap %ld KiB linked, %ld at 10%%, %ld at the end; RSS %ld, %ld, %ld KiB\n",
                            first.heapKiB, early.heapKiB, last.heapKiB, first.rssKiB, early.rssKiB, last.rssKiB);
                Click(client, IDC_BUTTON_CLOSE);
                Await([&] { return Status(server) == "READY"; }, "the client's close");
            },
            &server);
    });
}

}  // namespace

int main(int argc, char** argv) {
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 2000;
    const std::int64_t total = (argc > 2 ? std::atoll(argv[2]) : 1024) * kMiB;
    bench::Session session(argc, argv);
    CConsoleApp& app = session.App();
    const Sample start = Sample::Now();
    std::printf("soak in one process on the offscreen platform, %u cores; at start fds %d, heap %ld KiB, RSS %ld KiB\n",
                std::thread::hardware_concurrency(), start.fds, start.heapKiB, start.rssKiB);
    CycleAllModes(app, cycles);
    FloodBothWays(app, total);
    const Sample end = Sample::Now();
    std::printf("at the end fds %d, heap %ld KiB, RSS %ld KiB\n", end.fds, end.heapKiB, end.rssKiB);
    return 0;
}
