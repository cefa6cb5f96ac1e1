#include "bench/SyscallCount.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

extern char** environ;

namespace bench {

SyscallCount::SyscallCount() : m_file("/tmp/quenzo-bench-strace." + std::to_string(::getpid())) {
    std::vector<std::string> args{"strace", "-f",
                                  "-c",     "-q",
                                  "-e",     "trace=ppoll,poll,recvmsg,recvfrom,ioctl,read,write",
                                  "-o",     m_file,
                                  "-p",     std::to_string(::getpid())};
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    if (::posix_spawnp(&m_strace, "strace", nullptr, nullptr, argv.data(), environ) != 0) {
        m_strace = 0;
        return;
    }
    // strace attaches to each thread in turn; the count starts once it has.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
}

SyscallCount::~SyscallCount() { Stop(); }

std::map<std::string, long> SyscallCount::Stop() {
    std::map<std::string, long> calls;
    if (m_strace == 0) {
        return calls;
    }
    ::kill(m_strace, SIGINT);
    int status = 0;
    ::waitpid(m_strace, &status, 0);
    m_strace = 0;
    // "% time  seconds  usecs/call  calls  [errors]  syscall", between two rules.
    std::ifstream summary(m_file);
    std::string line;
    while (std::getline(summary, line)) {
        std::istringstream fields(line);
        std::vector<std::string> words;
        for (std::string word; fields >> word;) {
            words.push_back(word);
        }
        if (words.size() >= 5 && words.back() != "total" && words.back() != "syscall" &&
            words[0].find_first_not_of("0123456789.") == std::string::npos) {
            calls[words.back()] = std::stol(words[3]);
        }
    }
    ::unlink(m_file.c_str());
    return calls;
}

}  // namespace bench
