// Receiving speed on either backend, with the same program: a peer on loopback streams bytes to the
// console's TCP client link while the console shows them (text, or hex), and the figure is the rate
// at which the console has counted them all. Runs the real console in its own modal loop.
//   receive_bench [MiB]   (default 64)
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "bench/ConsoleProgram.h"
#include "tests/console/ConsoleFixture.h"
#include "tests/support/Peers.h"

namespace {

double Run(std::size_t bytes, bool hex) {
    double seconds = 0;
    bench::RunConsole([&](CConsoleDlg& dialog) {
        std::uint16_t port = 0;
        test::Fd listener = test::TcpListener(&port);
        test::SetModule(dialog, port);
        if (hex) {
            test::Click(dialog, IDC_CHECK_HEX_DISPLAY);
        }
        test::Click(dialog, IDC_BUTTON_CONNECT);
        test::Fd peer = test::TcpAccept(listener);
        test::PumpUntil([&] { return dialog.m_statusBar.GetText(0).str() == "CREATE NEW CONNECT."; });
        const std::string block(1 << 16, 'q');
        const auto start = std::chrono::steady_clock::now();
        std::thread sender([&] {
            for (std::size_t sent = 0; sent < bytes; sent += block.size()) {
                test::SendAll(peer, block);
            }
        });
        const bool all =
            test::PumpUntil([&] { return dialog.m_nRecvCount == static_cast<std::int64_t>(bytes); }, 600000);
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        sender.join();
        if (!all) {
            std::printf("FAILED: %lld of %zu bytes counted\n", static_cast<long long>(dialog.m_nRecvCount), bytes);
            seconds = 0;
        }
        test::Click(dialog, IDC_BUTTON_CLOSE);
    });
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    return bench::RunProgram(argc, argv, [&] {
        const std::size_t mebibytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 64;
        const std::size_t bytes = mebibytes << 20;
        for (const bool hex : {false, true}) {
            const double seconds = Run(bytes, hex);
            if (seconds <= 0) {
                return 1;
            }
            std::printf("receive %s: %zu MiB in %.2f s = %.1f MB/s\n", hex ? "hex " : "text", mebibytes, seconds,
                        static_cast<double>(bytes) / seconds / 1e6);
        }
        return 0;
    });
}
