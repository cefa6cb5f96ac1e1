#pragma once
// The Windows benchmark's references and probes, written straight on the system's own calls (no
// framework): what a bare Windows program does under the same system, and what the benchmark
// watches the console's windows do. Plain types only: this header meets the framework's.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace bare {

// One reading of a stream of `bytes` from a loopback peer, the way the console reads: a hidden
// window takes WSAAsyncSelect's FD_READ notices, one recv of at most 2048 bytes each, nothing
// shown. Megabytes a second.
double ReceiveMBps(std::size_t bytes);

// The system's own 1 ms periodic timer (timeSetEvent with a 1 ms resolution), each tick posted to
// a window and timed when the window gets it, for `seconds`.
std::vector<double> TimerTicksMs(double seconds);

// Starts timing the paint messages the thread's loop takes for `window`; PaintTimesMs returns
// their times since, in milliseconds on the benchmark's clock.
void WatchPaints(void* window);
std::vector<double> PaintTimesMs();
void StopWatchingPaints();

// The benchmark's clock, in milliseconds.
double NowMs();

}  // namespace bare
