#pragma once
// Counts the system calls this process makes on the receiving side while it lives (polls, receives,
// ioctls, reads and writes; the flooding peer's sends are left out), with strace attached to every
// thread. Tracing slows the process: runs that are counted are not the runs that are timed.

#include <map>
#include <string>

#include <sys/types.h>

namespace bench {

class SyscallCount {
public:
    SyscallCount();
    ~SyscallCount();
    SyscallCount(const SyscallCount&) = delete;
    SyscallCount& operator=(const SyscallCount&) = delete;

    // Ends the count and returns the calls by name; empty when strace could not attach.
    std::map<std::string, long> Stop();

private:
    pid_t m_strace = 0;
    std::string m_file;
};

}  // namespace bench
