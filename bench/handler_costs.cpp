// What one receive event costs the console, piece by piece, on the Linux build: the form read, the
// hex of a full read (written when the box shows it), the status bar's count and adding a read to
// the receive box as text and as hex, each timed over many calls on a console in its own loop, with
// nothing on the wire.
//   handler_costs [calls]   (default 20000)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "bench/BenchSupport.h"
#include "console/DataFormats.h"

namespace {

// Nanoseconds a call of `step` takes, the best of five rounds of `calls` calls.
double NsPerCall(int calls, const std::function<void(int)>& step) {
    double best = 1e300;
    for (int round = 0; round < 5; ++round) {
        const auto start = bench::Clock::now();
        for (int i = 0; i < calls; ++i) {
            step(i);
        }
        best = std::min(best, bench::Seconds(bench::Clock::now() - start) * 1e9 / calls);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    const int calls = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20000;
    bench::Session session(argc, argv);
    std::vector<unsigned char> bytes(2048);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<unsigned char>(i * 131 + 7);
    }
    std::string hex(bytes.size() * 3 + 1, '\0');
    const std::string text(2048, 'q');
    bench::RunConsole(session.App(), [&](CConsoleDlg& dialog) {
        std::printf("per receive event, ns (best of 5 rounds of %d calls)\n", calls);
        std::printf("  form read (UpdateData)      %8.0f\n", NsPerCall(calls, [&](int) { dialog.UpdateData(TRUE); }));
        std::printf("  hex of 2048 bytes           %8.0f\n",
                    NsPerCall(calls, [&](int) { console::FormatHexDisplay(bytes.data(), bytes.size(), hex.data()); }));
        // CLEAR COUNT shows both counts, as a receive event shows its one.
        std::printf("  a count in the status bar   %8.0f\n",
                    NsPerCall(calls, [&](int) { dialog.OnButtonClearCount(); }) / 2);
        // As under a flood: the box empties itself every fifteenth read or so.
        const auto intoTheBox = [&](const std::function<void()>& add) {
            return NsPerCall(calls, [&](int i) {
                if (i % 14 == 0) {
                    dialog.m_editReceive.SetSel(0, -1);
                    dialog.m_editReceive.ScrollCaret();
                    dialog.m_editReceive.ReplaceSel("", FALSE);
                }
                add();
            });
        };
        std::printf("  2048 bytes into the box     %8.0f\n",
                    intoTheBox([&] { dialog.m_editReceive.AppendText(std::string_view(text)); }));
        // Their hex is written only if the box still holds them when it shows them.
        std::printf("  the same as hex             %8.0f\n", intoTheBox([&] {
                        dialog.m_editReceive.AppendText(bytes.data(), bytes.size(),
                                                        AfxTextOfBytes{console::FormatHexDisplay, 3});
                    }));
    });
    return 0;
}
