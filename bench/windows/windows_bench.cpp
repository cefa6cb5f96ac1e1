// Measures the Windows build under its system (Wine here) and prints the figures; it judges
// nothing. All in one run, so that the figures compare:
//  - a bare Windows Sockets loop (one 2048-byte recv a notice, nothing shown) as the reference;
//  - the console receiving a TCP flood shown as text lines, as text without a blank, and in hex,
//    each as a share of the reference, minimum and median of several runs;
//  - during each flood: how long a mouse click on CLEAR COUNT, made through the system's input
//    queue, waits until its handler has run, and the longest time the receive box goes unpainted;
//  - auto-send at 1 ms: sends a second and the spacing's 99th percentile deviation from 1 ms, idle
//    and during a flood of datagrams, beside the system's own 1 ms timer in a bare program.
//   windows_bench [MiB] [runs] [receive|autosend]   (default 16 MiB, 3 runs, both parts)
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "bench/ConsoleProgram.h"
#include "bench/Floods.h"
#include "bench/windows/BareWindows.h"
#include "framework/win32/User32.h"
#include "tests/console/ConsoleFixture.h"
#include "tests/support/Peers.h"

namespace {

using bench::Kind;
using bench::Name;

constexpr std::size_t kBlock = std::size_t{1} << 16;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values.empty()
               ? 0
               : values[std::min(values.size() - 1, static_cast<std::size_t>(p * static_cast<double>(values.size())))];
}

double Longest(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

// The gaps between consecutive times, from `from` to `to` (the edges count as times).
std::vector<double> Gaps(std::vector<double> times, double from, double to) {
    times.push_back(from);
    times.push_back(to);
    std::sort(times.begin(), times.end());
    std::vector<double> gaps;
    for (std::size_t i = 1; i < times.size(); ++i) {
        if (times[i] >= from && times[i] <= to && times[i - 1] >= from) {
            gaps.push_back(times[i] - times[i - 1]);
        }
    }
    return gaps;
}

struct Flood {
    double mbps = 0;
    std::vector<double> clickMs;
    double longestUnpaintedMs = 0;
};

Flood FloodConsole(Kind kind, std::size_t bytes) {
    Flood result;
    bench::RunConsole([&](CConsoleDlg& dialog) {
        std::uint16_t port = 0;
        test::Fd listener = test::TcpListener(&port);
        test::SetModule(dialog, port);
        if (kind == Kind::Hex) {
            test::Click(dialog, IDC_CHECK_HEX_DISPLAY);
        }
        test::Click(dialog, IDC_BUTTON_CONNECT);
        test::Fd peer = test::TcpAccept(listener);
        test::PumpUntil([&] { return dialog.m_statusBar.GetText(0).str() == "CREATE NEW CONNECT."; });
        CWnd* box = dialog.GetDlgItem(IDC_EDIT_RECEIVE);
        bare::WatchPaints(box->m_hWnd);

        const std::string block = bench::Block(kind, kBlock);
        const double start = bare::NowMs();
        std::thread sender([&] {
            for (std::size_t sent = 0; sent < bytes; sent += block.size()) {
                test::SendAll(peer, block.substr(0, std::min(block.size(), bytes - sent)));
            }
        });
        // CLEAR COUNT sets the count back to 0: what it had counted is added up here. The loop
        // looks at the count after every message, so nothing counted is missed.
        std::int64_t counted = 0;
        std::int64_t last = 0;
        double clickedAt = 0;
        double nextClick = start + 200;
        auto total = [&] {
            if (dialog.m_nRecvCount < last) {
                counted += last;
                result.clickMs.push_back(bare::NowMs() - clickedAt);
                clickedAt = 0;
            }
            last = dialog.m_nRecvCount;
            return counted + last;
        };
        const bool all = test::PumpUntil(
            [&] {
                if (total() >= static_cast<std::int64_t>(bytes)) {
                    return true;
                }
                if (clickedAt == 0 && bare::NowMs() >= nextClick) {
                    clickedAt = bare::NowMs();
                    nextClick = clickedAt + 250;
                    w32::ClickWithMouse(
                        reinterpret_cast<w32::Handle>(dialog.GetDlgItem(IDC_BUTTON_CLEAR_COUNT)->m_hWnd));
                }
                return false;
            },
            1800000);
        const double end = bare::NowMs();
        sender.join();
        bare::StopWatchingPaints();
        if (!all || total() != static_cast<std::int64_t>(bytes)) {
            std::printf("FAILED: %lld of %zu bytes counted\n", static_cast<long long>(total()), bytes);
            std::exit(1);
        }
        if (clickedAt != 0) {
            result.clickMs.push_back(end - clickedAt);  // still waiting when the flood ended
        }
        result.mbps = static_cast<double>(bytes) / ((end - start) / 1000) / 1e6;
        result.longestUnpaintedMs = Longest(Gaps(bare::PaintTimesMs(), start, end));
        test::Click(dialog, IDC_BUTTON_CLOSE);
    });
    return result;
}

struct Ticks {
    double perSecond = 0;
    double p99DeviationMs = 0;
};

Ticks Spacing(const std::vector<double>& times, double seconds) {
    std::vector<double> deviations;
    for (std::size_t i = 1; i < times.size(); ++i) {
        deviations.push_back(std::fabs(times[i] - times[i - 1] - 1.0));
    }
    return {static_cast<double>(times.size()) / seconds, Percentile(deviations, 0.99)};
}

// The console sends a datagram every millisecond to a peer, which times each as it arrives; with
// `flooded`, the peer meanwhile sends datagrams to the console as fast as it can.
Ticks AutoSend(bool flooded, double seconds) {
    Ticks result;
    bench::RunConsole([&](CConsoleDlg& dialog) {
        std::uint16_t peerPort = 0;
        test::Fd peer = test::UdpSocket(&peerPort);
        test::SetModule(dialog, peerPort);
        const std::uint16_t port = test::FreePort(false);
        test::Click(dialog, IDC_CHECK_TCP);
        test::SetLocalPort(dialog, port);
        test::Click(dialog, IDC_BUTTON_CONNECT);
        dialog.SetDlgItemText(IDC_EDIT_SEND, "tick");
        dialog.SetDlgItemText(IDC_EDIT_CYCLE, "1");
        std::atomic<bool> running{true};
        std::vector<double> arrivals;
        std::thread receiver([&] {
            while (running) {
                if (test::ReceiveDatagramSize(peer, 200) > 0) {
                    arrivals.push_back(bare::NowMs());
                }
            }
        });
        std::thread flood([&] {
            const std::string datagram(1024, 'f');
            while (flooded && running) {
                test::SendDatagram(peer, port, datagram);
            }
        });
        test::Click(dialog, IDC_CHECK_AUTO_SEND);
        test::PumpFor(static_cast<int>(seconds * 1000));
        test::Click(dialog, IDC_CHECK_AUTO_SEND);
        running = false;
        flood.join();
        receiver.join();
        // The first half-second settles; the rest is measured.
        std::vector<double> settled;
        for (const double at : arrivals) {
            if (!arrivals.empty() && at >= arrivals.front() + 500) {
                settled.push_back(at);
            }
        }
        result = Spacing(settled, seconds - 0.5);
        test::Click(dialog, IDC_BUTTON_CLOSE);
    });
    return result;
}

void Receiving(std::size_t bytes, int runs) {
    std::vector<double> bareRates;
    for (int run = 0; run < runs; ++run) {
        bareRates.push_back(bare::ReceiveMBps(bytes));
    }
    const double reference = Median(bareRates);
    std::printf("%-28s min %7.2f  median %7.2f MB/s  (reference)\n", "bare Windows Sockets loop",
                *std::min_element(bareRates.begin(), bareRates.end()), reference);

    for (const Kind kind : {Kind::Lines, Kind::SpaceFree, Kind::Hex}) {
        std::vector<double> rates;
        std::vector<double> clicks;
        double unpainted = 0;
        for (int run = 0; run < runs; ++run) {
            const Flood flood = FloodConsole(kind, bytes);
            rates.push_back(flood.mbps);
            clicks.insert(clicks.end(), flood.clickMs.begin(), flood.clickMs.end());
            unpainted = std::max(unpainted, flood.longestUnpaintedMs);
        }
        std::printf(
            "%-28s min %7.2f  median %7.2f MB/s  = %5.1f%% of the reference;"
            " click waited at worst %.1f ms (%zu clicks); box unpainted at most %.0f ms\n",
            Name(kind), *std::min_element(rates.begin(), rates.end()), Median(rates), 100 * Median(rates) / reference,
            Longest(clicks), clicks.size(), unpainted);
    }
}

void Sending() {
    constexpr double kSeconds = 3;
    const Ticks bareTimer = Spacing(bare::TimerTicksMs(kSeconds), kSeconds);
    const Ticks idle = AutoSend(false, kSeconds);
    const Ticks flooded = AutoSend(true, kSeconds);
    std::printf("\n1 ms timer, bare program         %6.0f ticks/s, spacing p99 off by %.2f ms (reference)\n",
                bareTimer.perSecond, bareTimer.p99DeviationMs);
    std::printf("1 ms auto-send, idle             %6.0f sends/s = %5.1f%% of the reference, p99 off by %.2f ms\n",
                idle.perSecond, 100 * idle.perSecond / bareTimer.perSecond, idle.p99DeviationMs);
    std::printf("1 ms auto-send, datagram flood   %6.0f sends/s = %5.1f%% of the reference, p99 off by %.2f ms\n",
                flooded.perSecond, 100 * flooded.perSecond / bareTimer.perSecond, flooded.p99DeviationMs);
}

}  // namespace

int main(int argc, char** argv) {
    return bench::RunProgram(argc, argv, [&] {
        const std::size_t mebibytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 16;
        const int runs = std::max(argc > 2 ? std::atoi(argv[2]) : 3, 1);
        const std::size_t bytes = mebibytes << 20;
        const std::string only = argc > 3 ? argv[3] : "";
        std::printf("Windows benchmark: %zu MiB floods, %d runs each, one process\n\n", mebibytes, runs);
        if (only != "autosend") {
            Receiving(bytes, runs);
        }
        if (only != "receive") {
            Sending();
        }
        return 0;
    });
}
