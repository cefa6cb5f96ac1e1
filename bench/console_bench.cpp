// Measures the console end to end on Qt's offscreen platform with loopback peers: how fast it takes
// a TCP flood in each role and display mode (beside a bare recv loop, the ceiling for one 2048-byte
// read per event), how soon it answers a click while flooded, and how many auto-sends it makes.
// Prints figures; judges nothing.

// The program's headers first: the system socket headers define some of their names as macros.
#include "bench/BenchSupport.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using bench::Click;
using bench::Clock;
using bench::ConnectTo;
using bench::FreePort;
using bench::Listener;
using bench::PumpUntil;
using bench::RssKiB;
using bench::RunConsole;
using bench::Seconds;

constexpr std::size_t kMiB = std::size_t{1024} * 1024;

void Flood(int fd, std::size_t total) {
    std::vector<char> block(std::size_t{64} * 1024);
    for (std::size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<char>('A' + i % 26);  // no zero byte: text display shows it all
    }
    std::size_t sent = 0;
    while (sent < total) {
        const ssize_t n = ::send(fd, block.data(), std::min(block.size(), total - sent), MSG_NOSIGNAL);
        if (n <= 0) {
            break;
        }
        sent += static_cast<std::size_t>(n);
    }
    ::close(fd);
}

// The ceiling: the same flood read by a bare loop of 2048-byte reads.
double BareRecvMBps(std::size_t total) {
    std::uint16_t port = 0;
    const int listener = Listener(&port);
    std::thread peer([&] { Flood(ConnectTo(port), total); });
    const int fd = ::accept(listener, nullptr, nullptr);
    char buffer[2048];
    std::size_t received = 0;
    const auto start = Clock::now();
    while (received < total) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) {
            break;
        }
        received += static_cast<std::size_t>(n);
    }
    const double mbps = static_cast<double>(received) / 1e6 / Seconds(Clock::now() - start);
    peer.join();
    ::close(fd);
    ::close(listener);
    return mbps;
}

struct FloodResult {
    double mbps = 0;
    bool exact = false;
    long rssEarly = 0;
    long rssEnd = 0;
    std::vector<double> clickMs;
};

// A flood of `total` bytes into the console in one role and display mode. With `clicks`, CLEAR COUNT
// is clicked every 20 ms meanwhile and the time each click waited is recorded (the counters are then
// not compared).
FloodResult FloodConsole(CConsoleApp& app, bool server, bool hex, std::size_t total, bool clicks) {
    FloodResult result;
    RunConsole(app, [&](CConsoleDlg& dialog) {
        if (hex) {
            Click(dialog, IDC_CHECK_HEX_DISPLAY);
        }
        std::thread peer;
        int listener = -1;
        if (server) {
            const std::uint16_t port = FreePort(SOCK_STREAM);
            Click(dialog, IDC_CHECK_SERVER);
            dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, std::to_string(port).c_str());
            Click(dialog, IDC_BUTTON_CONNECT);
            peer = std::thread([port, total] { Flood(ConnectTo(port), total); });
        } else {
            std::uint16_t port = 0;
            listener = Listener(&port);
            bench::SetModule(dialog, port);
            Click(dialog, IDC_BUTTON_CONNECT);
            peer = std::thread([listener, total] { Flood(::accept(listener, nullptr, nullptr), total); });
        }
        PumpUntil([&] { return dialog.m_bLinkOpen != 0; }, 5000);
        const auto start = Clock::now();
        std::int64_t received = 0;
        auto counted = [&] { return received + dialog.m_nRecvCount; };
        QTimer clicker;
        if (clicks) {
            QObject::connect(&clicker, &QTimer::timeout, [&] {
                const auto posted = Clock::now();
                QMetaObject::invokeMethod(
                    qApp,
                    [&, posted] {
                        received += dialog.m_nRecvCount;  // what CLEAR COUNT is about to zero
                        Click(dialog, IDC_BUTTON_CLEAR_COUNT);
                        result.clickMs.push_back(Seconds(Clock::now() - posted) * 1000);
                    },
                    Qt::QueuedConnection);
            });
            clicker.start(20);
        }
        PumpUntil([&] { return counted() >= static_cast<std::int64_t>(total) / 10; }, 120000);
        result.rssEarly = RssKiB();
        PumpUntil([&] { return counted() >= static_cast<std::int64_t>(total); }, 600000);
        result.mbps = static_cast<double>(counted()) / 1e6 / Seconds(Clock::now() - start);
        clicker.stop();
        result.rssEnd = RssKiB();
        PumpUntil([&] { return dialog.m_bLinkOpen == 0; }, 5000);
        result.exact = counted() == static_cast<std::int64_t>(total);
        peer.join();
        if (listener >= 0) {
            ::close(listener);
        }
    });
    return result;
}

// Auto-send on a UDP link for `seconds`: how many of the expected sends were made.
double AutoSendShare(CConsoleApp& app, int cycleMs, double seconds) {
    double share = 0;
    RunConsole(app, [&](CConsoleDlg& dialog) {
        std::uint16_t peerPort = 0;
        const int peer = bench::UdpSocket(&peerPort);
        Click(dialog, IDC_CHECK_TCP);
        dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, std::to_string(FreePort(SOCK_DGRAM)).c_str());
        Click(dialog, IDC_BUTTON_CONNECT);
        bench::SetModule(dialog, peerPort);
        dialog.SetDlgItemText(IDC_EDIT_SEND, "x");
        dialog.SetDlgItemText(IDC_EDIT_CYCLE, std::to_string(cycleMs).c_str());
        Click(dialog, IDC_CHECK_AUTO_SEND);
        const auto end =
            Clock::now() + std::chrono::duration<double>(seconds) + std::chrono::milliseconds(cycleMs / 20);
        // The loop only looks at the clock when something happens: a timer makes something happen.
        QTimer wake;
        wake.start(10);
        PumpUntil([&] { return Clock::now() >= end; }, static_cast<int>(seconds * 1000) + 2000);
        const double expected = seconds * 1000.0 / cycleMs;
        share = static_cast<double>(dialog.m_nSendCount) / expected;
        Click(dialog, IDC_BUTTON_CLOSE);
        ::close(peer);
    });
    return share;
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(p * static_cast<double>(values.size())))];
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t total = (argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 256) * kMiB;
    bench::Session session(argc, argv);
    CConsoleApp& app = session.App();
    std::printf("flood of %zu MiB over loopback, console on the offscreen platform, %u cores\n", total / kMiB,
                std::thread::hardware_concurrency());
    const double ceiling = BareRecvMBps(total);
    std::printf("%-32s %9.1f MB/s\n", "bare recv loop (2048 B reads)", ceiling);
    for (const bool server : {false, true}) {
        for (const bool hex : {false, true}) {
            const FloodResult r = FloodConsole(app, server, hex, total, false);
            std::printf(
                "%-32s %9.1f MB/s  %5.1f%% of bare  counters %s  RSS %ld -> %ld KiB\n",
                (std::string(server ? "server" : "client") + (hex ? ", hex display" : ", text display")).c_str(),
                r.mbps, 100.0 * r.mbps / ceiling, r.exact ? "exact" : "WRONG", r.rssEarly, r.rssEnd);
        }
    }
    const FloodResult clicked = FloodConsole(app, false, false, total, true);
    std::printf("%-32s %zu clicks, p50 %.2f ms, p99 %.2f ms, max %.2f ms (flood at %.1f MB/s)\n",
                "CLEAR COUNT during the flood", clicked.clickMs.size(), Percentile(clicked.clickMs, 0.5),
                Percentile(clicked.clickMs, 0.99), Percentile(clicked.clickMs, 1.0), clicked.mbps);
    for (const int cycle : {1, 10, 1000}) {
        const double share = AutoSendShare(app, cycle, 5.0);
        std::printf("auto-send every %4d ms for 5 s %9.1f%% of the expected sends\n", cycle, 100.0 * share);
    }
    return 0;
}
