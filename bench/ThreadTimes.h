#pragma once
// Wall-clock time and the calling thread's processor time (user and system), to take a
// difference of.

#include <sys/resource.h>

#include <chrono>

namespace bench {

struct ThreadTimes {
    double wallSeconds = 0;
    double cpuSeconds = 0;

    static ThreadTimes Now() {
        rusage usage{};
        ::getrusage(RUSAGE_THREAD, &usage);
        const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
        return {std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(),
                seconds(usage.ru_utime) + seconds(usage.ru_stime)};
    }
    ThreadTimes operator-(const ThreadTimes& earlier) const {
        return {wallSeconds - earlier.wallSeconds, cpuSeconds - earlier.cpuSeconds};
    }
};

}  // namespace bench
