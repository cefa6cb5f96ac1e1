#include "bench/BenchSupport.h"

#include "framework/qt/WindowHost.h"
#include "net/AsyncSocket.h"

#include <dirent.h>
#include <malloc.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace bench {

Session::Session(int& argc, char** argv)
    : m_offscreen(setenv("QT_QPA_PLATFORM", "offscreen", 1) == 0), m_platform(argc, argv) {
    AfxDeriveAppNames(&m_app, "quenzo");
    Check(StartSocketService(), "socket service");
}

void Check(bool ok, const char* what) {
    if (!ok) {
        // Whatever errno says may be stale: name the step, and leave without running destructors
        // of a half-finished run.
        std::printf("FAILED: %s (errno %d)\n", what, errno);
        std::fflush(stdout);
        std::_Exit(1);
    }
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

long RssKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

long HeapInUseKiB() {
    const struct mallinfo2 heap = ::mallinfo2();
    return static_cast<long>((heap.uordblks + heap.hblkhd) / 1024);
}

int OpenDescriptors() {
    int count = 0;
    if (DIR* dir = ::opendir("/proc/self/fd")) {
        while (const dirent* entry = ::readdir(dir)) {
            count += entry->d_name[0] != '.' ? 1 : 0;
        }
        ::closedir(dir);
    }
    return count - 1;  // the listing's own descriptor
}

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

namespace {

int Bound(int type, std::uint16_t* port) {
    const int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(0);
    Check(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0, "bind");
    socklen_t length = sizeof address;
    Check(::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0, "getsockname");
    *port = ntohs(address.sin_port);
    return fd;
}

}  // namespace

int Listener(std::uint16_t* port) {
    const int fd = Bound(SOCK_STREAM, port);
    Check(::listen(fd, 4) == 0, "listen");
    return fd;
}

std::uint16_t FreePort(int type) {
    std::uint16_t port = 0;
    ::close(Bound(type, &port));
    return port;
}

int ConnectTo(std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = Loopback(port);
    while (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return fd;
}

int UdpSocket(std::uint16_t* port) { return Bound(SOCK_DGRAM, port); }

void Click(CConsoleDlg& dialog, int id) {
    auto* host = afx::WindowHost::FromHandle(dialog.GetDlgItem(id)->m_hWnd);
    static_cast<QAbstractButton*>(host->Widget())->click();
}

void SetModule(CConsoleDlg& dialog, std::uint16_t port) {
    dialog.m_ipModule.SetAddress(127, 0, 0, 1);
    dialog.SetDlgItemText(IDC_EDIT_MODULE_PORT, std::to_string(port).c_str());
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) { return AfxPumpMessagesUntil(done, timeoutMs); }

void RunConsole(CConsoleApp& app, const std::function<void(CConsoleDlg&)>& script, CWnd* parent) {
    CConsoleDlg dialog(parent);
    CWnd* const mainWindow = app.m_pMainWnd;
    if (mainWindow == nullptr) {
        app.m_pMainWnd = &dialog;
    }
    QTimer::singleShot(0, [&] {
        script(dialog);
        dialog.EndDialog(IDCANCEL);
    });
    dialog.DoModal();
    app.m_pMainWnd = mainWindow;
}

}  // namespace bench
