// Measures the console end to end on Qt's offscreen platform with loopback peers, and prints the
// figures; it judges nothing.
//  - Receive rate: a TCP flood into a client link in three kinds (lines of text with blanks, text
//    without a blank, and bytes in hex display), beside the ceiling measured in the same run: a bare
//    loop doing what the console's receive rule does with nothing shown, one poll and one receive of
//    at most 2048 bytes per readiness (bench/BareLoop.cpp); and beside `socat -b 2048` reading the
//    same flood, a second reference. Min and median of several runs each, with the receiving
//    thread's processor time per MiB, and the system calls per chunk from a traced run of each.
//  - How long the user interface is held up meanwhile: a thread posts an event to the UI thread
//    every 2 ms and records how long each waits to be handled.
//  - Latency from a peer's send to the bytes in the receive box: when idle, and during a flood
//    (markers in the flood, found in what reaches the box).
//  - Auto-send at 1 ms: the spacing of the datagrams as a UDP peer's kernel time-stamps them.

// The program's headers first: the system socket headers define some of their names as macros.
#include "bench/BareLoop.h"
#include "bench/BenchSupport.h"
#include "bench/Floods.h"
#include "bench/SyscallCount.h"
#include "bench/ThreadTimes.h"
#include "framework/qt/WindowHost.h"

#include <spawn.h>
#include <sys/socket.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using bench::BareResult;
using bench::Click;
using bench::Clock;
using bench::FreePort;
using bench::Kind;
using bench::Listener;
using bench::Name;
using bench::PumpUntil;
using bench::RssKiB;
using bench::RunConsole;
using bench::Seconds;

constexpr std::size_t kMiB = std::size_t{1024} * 1024;

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(p * static_cast<double>(values.size())))];
}

double NowMs() { return Seconds(Clock::now().time_since_epoch()) * 1000; }

// Every so many bytes the flood carries a marker "#<n>;" in place of a block's first bytes, and the
// time it was sent; the UI side finds markers in what reaches the box. Under a flood the box shows
// only its last 30,000 characters whenever it is drawn, so markers come often enough that what is
// shown holds some.
constexpr std::size_t kMarkerEvery = std::size_t{16} * 1024;

std::string Block(Kind kind) { return bench::Block(kind, kMarkerEvery); }

struct Markers {
    explicit Markers(std::size_t count) : sentMs(count) {}
    std::vector<std::atomic<double>> sentMs;
};

void Flood(int fd, std::size_t total, Kind kind, Markers* markers) {
    const std::string plain = Block(kind);
    std::size_t sent = 0;
    std::size_t nextMarker = 0;
    while (sent < total) {
        std::string block = plain;
        if (markers != nullptr && sent >= nextMarker * kMarkerEvery && nextMarker < markers->sentMs.size()) {
            const std::string mark = "#" + std::to_string(nextMarker) + ";";
            block.replace(0, mark.size(), mark);
            markers->sentMs[nextMarker] = NowMs();
            ++nextMarker;
        }
        std::size_t at = 0;
        const std::size_t length = std::min(block.size(), total - sent);
        while (at < length) {
            const ssize_t n = ::send(fd, block.data() + at, length - at, MSG_NOSIGNAL);
            if (n <= 0) {
                ::close(fd);
                return;
            }
            at += static_cast<std::size_t>(n);
        }
        sent += length;
    }
    ::close(fd);
}

// The reference: socat reading the flood 2048 bytes at a time into /dev/null.
double SocatMBps(std::size_t total) {
    std::uint16_t port = 0;
    const int listener = Listener(&port);
    std::thread peer([&] { Flood(::accept(listener, nullptr, nullptr), total, Kind::SpaceFree, nullptr); });
    const std::string address = "TCP:127.0.0.1:" + std::to_string(port);
    std::vector<std::string> args{"socat", "-b", "2048", "-u", address, "/dev/null"};
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const auto start = Clock::now();
    pid_t pid = 0;
    bench::Check(posix_spawnp(&pid, "socat", nullptr, nullptr, argv.data(), environ) == 0, "start socat");
    int status = 0;
    ::waitpid(pid, &status, 0);
    const double seconds = Seconds(Clock::now() - start);
    peer.join();
    ::close(listener);
    bench::Check(WIFEXITED(status) && WEXITSTATUS(status) == 0, "socat read the flood");
    return static_cast<double>(total) / 1e6 / seconds;
}

// Whether the flood of `kind` runs: every kind, or the one named on the command line (lines, blanks
// or hex).
bool Chosen(Kind kind, const std::string& only) {
    return only.empty() || only == (kind == Kind::Lines ? "lines" : kind == Kind::SpaceFree ? "blanks" : "hex");
}

// The ceiling: the bare loop reading a flood from a loopback peer; with `calls`, its system calls
// are counted into it (a traced run, not a timed one).
BareResult BareRun(std::size_t total, std::map<std::string, long>* calls = nullptr) {
    std::uint16_t port = 0;
    const int listener = Listener(&port);
    std::thread peer([&] { Flood(::accept(listener, nullptr, nullptr), total, Kind::SpaceFree, nullptr); });
    const int fd = bench::ConnectTo(port);
    std::optional<bench::SyscallCount> count;
    if (calls != nullptr) {
        count.emplace();
    }
    const BareResult result = bench::BareLoop(fd, total);
    if (calls != nullptr) {
        *calls = count->Stop();
    }
    ::close(fd);
    peer.join();
    ::close(listener);
    return result;
}

// Records how long events posted from another thread every 2 ms wait for the UI thread.
class WaitProbe : public QObject {
public:
    static QEvent::Type ProbeType() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }
    struct Posted : QEvent {
        explicit Posted(double at) : QEvent(ProbeType()), atMs(at) {}
        double atMs;
    };

    void Start() {
        m_running = true;
        m_thread = std::thread([this] {
            while (m_running) {
                QCoreApplication::postEvent(this, new Posted(NowMs()));
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        });
    }
    void Stop() {
        m_running = false;
        m_thread.join();
        QCoreApplication::removePostedEvents(this, ProbeType());
    }
    std::vector<double> waitsMs;

protected:
    bool event(QEvent* event) override {
        if (event->type() != ProbeType()) {
            return QObject::event(event);
        }
        waitsMs.push_back(NowMs() - static_cast<Posted*>(event)->atMs);
        return true;
    }

private:
    std::atomic<bool> m_running{false};
    std::thread m_thread;
};

QPlainTextEdit* ReceiveBox(CConsoleDlg& dialog) {
    afx::WindowHost* host = afx::WindowHost::FromHandle(dialog.GetDlgItem(IDC_EDIT_RECEIVE)->m_hWnd);
    return static_cast<QPlainTextEdit*>(host->Widget());
}

struct FloodResult {
    double mbps = 0;
    double cpuMsPerMiB = 0;
    bool exact = false;
    long rssEarly = 0;
    long rssEnd = 0;
    std::vector<double> waitsMs;
    std::vector<double> latencyMs;
};

FloodResult FloodConsole(CConsoleApp& app, Kind kind, std::size_t total) {
    FloodResult result;
    RunConsole(app, [&](CConsoleDlg& dialog) {
        if (kind == Kind::Hex) {
            Click(dialog, IDC_CHECK_HEX_DISPLAY);
        }
        Markers markers(total / kMarkerEvery + 1);
        std::uint16_t port = 0;
        const int listener = Listener(&port);
        bench::SetModule(dialog, port);
        Click(dialog, IDC_BUTTON_CONNECT);
        PumpUntil([&] { return dialog.m_bLinkOpen != 0; }, 5000);
        // Markers found in what reaches the box (hex display shows them as hex: not looked for).
        QTextDocument* document = ReceiveBox(dialog)->document();
        const QMetaObject::Connection watch =
            QObject::connect(document, &QTextDocument::contentsChange, [&](int position, int /*removed*/, int added) {
                if (kind == Kind::Hex || added <= 0) {
                    return;
                }
                QTextCursor cursor(document);
                cursor.setPosition(position);
                cursor.setPosition(std::min(position + added, document->characterCount() - 1), QTextCursor::KeepAnchor);
                const QString text = cursor.selectedText();
                const double now = NowMs();
                for (qsizetype at = text.indexOf(u'#'); at >= 0; at = text.indexOf(u'#', at + 1)) {
                    const qsizetype end = text.indexOf(u';', at);
                    bool ok = false;
                    const std::size_t n = text.mid(at + 1, end - at - 1).toULongLong(&ok);
                    if (end > at && ok && n < markers.sentMs.size()) {
                        result.latencyMs.push_back(now - markers.sentMs[n].load());
                    }
                }
            });
        WaitProbe probe;
        probe.Start();
        std::thread peer([&] { Flood(::accept(listener, nullptr, nullptr), total, kind, &markers); });
        const auto start = Clock::now();
        const bench::ThreadTimes before = bench::ThreadTimes::Now();
        PumpUntil([&] { return dialog.m_nRecvCount >= static_cast<std::int64_t>(total) / 10; }, 120000);
        result.rssEarly = RssKiB();
        PumpUntil([&] { return dialog.m_nRecvCount >= static_cast<std::int64_t>(total); }, 600000);
        result.mbps = static_cast<double>(dialog.m_nRecvCount) / 1e6 / Seconds(Clock::now() - start);
        result.cpuMsPerMiB = (bench::ThreadTimes::Now() - before).cpuSeconds * 1000 /
                             (static_cast<double>(dialog.m_nRecvCount) / static_cast<double>(kMiB));
        probe.Stop();
        result.waitsMs = std::move(probe.waitsMs);
        result.rssEnd = RssKiB();
        PumpUntil([&] { return dialog.m_bLinkOpen == 0; }, 5000);
        QObject::disconnect(watch);
        result.exact = dialog.m_nRecvCount == static_cast<std::int64_t>(total);
        peer.join();
        ::close(listener);
    });
    return result;
}

// A peer's few bytes to the box on an idle client link: 50 sends, 20 ms apart.
std::vector<double> IdleLatencyMs(CConsoleApp& app) {
    std::vector<double> latencies;
    RunConsole(app, [&](CConsoleDlg& dialog) {
        std::uint16_t port = 0;
        const int listener = Listener(&port);
        bench::SetModule(dialog, port);
        Click(dialog, IDC_BUTTON_CONNECT);
        const int peer = ::accept(listener, nullptr, nullptr);
        PumpUntil([&] { return dialog.m_bLinkOpen != 0; }, 5000);
        double sentMs = 0;
        QTextDocument* document = ReceiveBox(dialog)->document();
        const QMetaObject::Connection watch =
            QObject::connect(document, &QTextDocument::contentsChange, [&](int, int, int added) {
                if (added > 0 && sentMs > 0) {
                    latencies.push_back(NowMs() - sentMs);
                    sentMs = 0;
                }
            });
        for (int i = 0; i < 50; ++i) {
            PumpUntil([] { return false; }, 20);
            sentMs = NowMs();
            bench::Check(::send(peer, "x", 1, 0) == 1, "send to the console");
            PumpUntil([&] { return sentMs == 0; }, 1000);
        }
        QObject::disconnect(watch);
        Click(dialog, IDC_BUTTON_CLOSE);
        ::close(peer);
        ::close(listener);
    });
    return latencies;
}

struct Spacing {
    double share = 0;
    std::vector<double> intervalsMs;
};

// Auto-send every `cycleMs` on a UDP link for `seconds`; the peer takes the kernel's receive time
// of each datagram.
Spacing AutoSendSpacing(CConsoleApp& app, int cycleMs, double seconds) {
    Spacing spacing;
    RunConsole(app, [&](CConsoleDlg& dialog) {
        std::uint16_t peerPort = 0;
        const int peer = bench::UdpSocket(&peerPort);
        const int on = 1;
        bench::Check(::setsockopt(peer, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on) == 0, "receive time stamps");
        const timeval poll{0, 100000};
        ::setsockopt(peer, SOL_SOCKET, SO_RCVTIMEO, &poll, sizeof poll);
        std::atomic<bool> reading{true};
        std::vector<double> stamps;
        std::thread reader([&] {
            char data[64];
            char control[256];
            while (reading) {
                iovec part{data, sizeof data};
                msghdr message{};
                message.msg_iov = &part;
                message.msg_iovlen = 1;
                message.msg_control = control;
                message.msg_controllen = sizeof control;
                if (::recvmsg(peer, &message, 0) < 0) {
                    continue;
                }
                for (cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr; c = CMSG_NXTHDR(&message, c)) {
                    if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) {
                        timespec at{};
                        std::memcpy(&at, CMSG_DATA(c), sizeof at);
                        stamps.push_back(static_cast<double>(at.tv_sec) * 1e3 + static_cast<double>(at.tv_nsec) / 1e6);
                    }
                }
            }
        });
        Click(dialog, IDC_CHECK_TCP);
        dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, std::to_string(FreePort(SOCK_DGRAM)).c_str());
        Click(dialog, IDC_BUTTON_CONNECT);
        bench::SetModule(dialog, peerPort);
        dialog.SetDlgItemText(IDC_EDIT_SEND, "x");
        dialog.SetDlgItemText(IDC_EDIT_CYCLE, std::to_string(cycleMs).c_str());
        Click(dialog, IDC_CHECK_AUTO_SEND);
        const auto end = Clock::now() + std::chrono::duration<double>(seconds);
        QTimer wake;  // the loop looks at the clock only when something happens
        wake.start(10);
        PumpUntil([&] { return Clock::now() >= end; }, static_cast<int>(seconds * 1000) + 2000);
        Click(dialog, IDC_BUTTON_CLOSE);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        reading = false;
        reader.join();
        ::close(peer);
        spacing.share = static_cast<double>(stamps.size()) / (seconds * 1000.0 / cycleMs);
        for (std::size_t i = 1; i < stamps.size(); ++i) {
            spacing.intervalsMs.push_back(stamps[i] - stamps[i - 1]);
        }
    });
    return spacing;
}

std::string Machine() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    std::string model = "unknown processor";
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("model name", 0) == 0) {
            model = line.substr(line.find(':') + 2);
            break;
        }
    }
    utsname system{};
    ::uname(&system);
    return std::to_string(std::thread::hardware_concurrency()) + " cores, " + model + ", Linux " + system.release;
}

// System calls per chunk, from one traced run of the bare loop and of each flood.
void PrintSystemCalls(CConsoleApp& app, std::size_t total, const std::string& only) {
    const auto describe = [](const std::map<std::string, long>& calls, long chunks) {
        if (calls.empty() || chunks <= 0) {
            return std::string("not counted (strace could not attach)");
        }
        long all = 0;
        std::string parts;
        for (const auto& [name, count] : calls) {
            all += count;
            char part[64];
            std::snprintf(part, sizeof part, "%s%s %.2f", parts.empty() ? "" : ", ", name.c_str(),
                          static_cast<double>(count) / static_cast<double>(chunks));
            parts += part;
        }
        char line[256];
        std::snprintf(line, sizeof line, "%.2f a chunk (%s; %ld chunks)",
                      static_cast<double>(all) / static_cast<double>(chunks), parts.c_str(), chunks);
        return std::string(line);
    };
    std::printf("\nsystem calls on the receiving side, traced runs of %zu MiB:\n", total / kMiB);
    std::map<std::string, long> bareCalls;
    const BareResult bare = BareRun(total, &bareCalls);
    std::printf("%-26s %s\n", "bare loop", describe(bareCalls, bare.chunks).c_str());
    for (const Kind kind : {Kind::Lines, Kind::SpaceFree, Kind::Hex}) {
        if (!Chosen(kind, only)) {
            continue;
        }
        bench::SyscallCount count;
        FloodConsole(app, kind, total);
        const std::map<std::string, long> calls = count.Stop();
        // A chunk is one receive: recv (recvfrom to the kernel) on a stream, recvmsg on a datagram.
        long chunks = 0;
        for (const char* receive : {"recvfrom", "recvmsg"}) {
            const auto found = calls.find(receive);
            chunks += found != calls.end() ? found->second : 0;
        }
        std::printf("%-26s %s\n", Name(kind), describe(calls, chunks).c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t total = (argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 256) * kMiB;
    const int runs = std::max(3, argc > 2 ? std::atoi(argv[2]) : 3);
    bench::Session session(argc, argv);
    CConsoleApp& app = session.App();
    std::printf("console on the offscreen platform, loopback; %s\n", Machine().c_str());
    std::printf("flood of %zu MiB into a client link, %d rounds of one run each: min / median\n\n", total / kMiB, runs);

    // The machine's speed drifts over a run, so the runs go in rounds, one of each kind a round, and
    // each console run is set against the bare loop of its own round.
    const std::string only = argc > 3 ? argv[3] : "";  // lines, blanks or hex: that flood alone
    struct Kinds {
        Kind kind;
        std::vector<FloodResult> runs;
    };
    std::vector<Kinds> floods;
    for (const Kind kind : {Kind::Lines, Kind::SpaceFree, Kind::Hex}) {
        if (Chosen(kind, only)) {
            floods.push_back({kind, {}});
        }
    }
    std::vector<double> bare;
    std::vector<double> bareCpu;
    std::vector<double> socat;
    for (int run = 0; run < runs; ++run) {
        const BareResult r = BareRun(total);
        bare.push_back(r.mbps);
        bareCpu.push_back(r.cpuMsPerMiB);
        socat.push_back(SocatMBps(total));
        for (Kinds& flood : floods) {
            flood.runs.push_back(FloodConsole(app, flood.kind, total));
        }
    }
    // Each rate as a share of its round's bare loop.
    const auto shares = [&](const std::vector<double>& rates) {
        std::vector<double> out;
        for (std::size_t i = 0; i < rates.size(); ++i) {
            out.push_back(100.0 * rates[i] / bare[i]);
        }
        return out;
    };
    const auto least = [](const std::vector<double>& values) {
        return *std::min_element(values.begin(), values.end());
    };

    std::printf("%-26s %7.1f / %7.1f MB/s  (the ceiling: 100%%)  CPU %.2f ms/MiB\n", "bare loop: poll + recv 2048",
                least(bare), Percentile(bare, 0.5), Percentile(bareCpu, 0.5));
    const std::vector<double> socatShares = shares(socat);
    std::printf("%-26s %7.1f / %7.1f MB/s  %5.1f%% of the bare loop (median)\n", "socat -b 2048 -u", least(socat),
                Percentile(socat, 0.5), Percentile(socatShares, 0.5));
    for (const Kinds& flood : floods) {
        std::vector<double> rates;
        std::vector<double> ofSocat;
        std::vector<double> cpu;
        std::vector<double> waits;
        std::vector<double> latencies;
        bool exact = true;
        for (std::size_t i = 0; i < flood.runs.size(); ++i) {
            const FloodResult& r = flood.runs[i];
            rates.push_back(r.mbps);
            ofSocat.push_back(100.0 * r.mbps / socat[i]);
            cpu.push_back(r.cpuMsPerMiB);
            waits.insert(waits.end(), r.waitsMs.begin(), r.waitsMs.end());
            latencies.insert(latencies.end(), r.latencyMs.begin(), r.latencyMs.end());
            exact = exact && r.exact;
        }
        const std::vector<double> ofBare = shares(rates);
        std::printf(
            "%-26s %7.1f / %7.1f MB/s  %5.1f%% / %5.1f%% of the bare loop (min / median), %5.1f%% of socat"
            "  CPU %.2f ms/MiB  counters %s  RSS %ld -> %ld KiB\n",
            Name(flood.kind), least(rates), Percentile(rates, 0.5), least(ofBare), Percentile(ofBare, 0.5),
            Percentile(ofSocat, 0.5), Percentile(cpu, 0.5), exact ? "exact" : "WRONG", flood.runs.front().rssEarly,
            flood.runs.back().rssEnd);
        std::printf("%-26s UI held up: p99 %.1f ms, max %.1f ms (%zu probes)", "", Percentile(waits, 0.99),
                    Percentile(waits, 1.0), waits.size());
        if (!latencies.empty()) {
            std::printf("; send to box under load: p50 %.1f ms, p99 %.1f ms", Percentile(latencies, 0.5),
                        Percentile(latencies, 0.99));
        }
        std::printf("\n");
    }

    // QUENZO_BENCH_NO_TRACE=1 leaves the traced runs out, for a profile of the timed runs alone.
    if (std::getenv("QUENZO_BENCH_NO_TRACE") == nullptr) {
        PrintSystemCalls(app, std::min(total, 32 * kMiB), only);
    }
    if (!only.empty()) {
        return 0;
    }
    const std::vector<double> idle = IdleLatencyMs(app);
    std::printf("\n%-26s p50 %.2f ms, p99 %.2f ms, max %.2f ms (%zu sends)\n", "idle: send to box",
                Percentile(idle, 0.5), Percentile(idle, 0.99), Percentile(idle, 1.0), idle.size());

    const Spacing spacing = AutoSendSpacing(app, 1, 5.0);
    std::vector<double> deviation;
    int backToBack = 0;
    for (const double interval : spacing.intervalsMs) {
        deviation.push_back(std::fabs(interval - 1.0));
        backToBack += interval < 0.2 ? 1 : 0;
    }
    std::printf(
        "%-26s %.1f%% of the expected sends; deviation from 1 ms: p50 %.3f ms, p99 %.3f ms, max %.3f ms;"
        " %d of %zu back to back (< 0.2 ms)\n",
        "auto-send every 1 ms, 5 s", 100.0 * spacing.share, Percentile(deviation, 0.5), Percentile(deviation, 0.99),
        Percentile(deviation, 1.0), backToBack, spacing.intervalsMs.size());
    for (const int cycle : {10, 1000}) {
        std::printf("%-26s %.1f%% of the expected sends\n",
                    ("auto-send every " + std::to_string(cycle) + " ms, 5 s").c_str(),
                    100.0 * AutoSendSpacing(app, cycle, 5.0).share);
    }
    return 0;
}
