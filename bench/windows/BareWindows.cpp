#include "bench/windows/BareWindows.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace bare {
namespace {

constexpr UINT kNotice = WM_APP + 1;
constexpr UINT kTick = WM_APP + 2;

void Check(bool ok, const char* what) {
    if (!ok) {
        std::printf("FAILED: %s (error %d)\n", what, ::WSAGetLastError());
        std::exit(1);
    }
}

HWND MessageWindow() {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    Check(window != nullptr, "a message window");
    return window;
}

sockaddr_in Loopback(u_short port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = ::htons(port);
    address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
    return address;
}

void CALLBACK PostTick(UINT, UINT, DWORD_PTR window, DWORD_PTR, DWORD_PTR) {
    ::PostMessageW(reinterpret_cast<HWND>(window), kTick, 0, 0);
}

HWND g_watched = nullptr;
HHOOK g_hook = nullptr;
std::vector<double> g_paints;

LRESULT CALLBACK SeeMessage(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && message->message == WM_PAINT && message->hwnd == g_watched) {
        g_paints.push_back(NowMs());
    }
    return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

double NowMs() {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f{};
        ::QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency);
}

double ReceiveMBps(std::size_t bytes) {
    WSADATA data{};
    Check(::WSAStartup(MAKEWORD(2, 2), &data) == 0, "WSAStartup");
    SOCKET listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = Loopback(0);
    Check(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0, "bind");
    Check(::listen(listener, 1) == 0, "listen");
    int length = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);

    const double start = NowMs();
    std::thread peer([bytes, port = address.sin_port] {
        SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in to = Loopback(::ntohs(port));
        Check(::connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0, "connect");
        const std::string block(std::size_t{1} << 16, 'q');
        for (std::size_t sent = 0; sent < bytes;) {
            const int n = ::send(s, block.data(), static_cast<int>(std::min(block.size(), bytes - sent)), 0);
            Check(n > 0, "send");
            sent += static_cast<std::size_t>(n);
        }
        ::closesocket(s);
    });
    SOCKET link = ::accept(listener, nullptr, nullptr);
    Check(link != INVALID_SOCKET, "accept");
    HWND window = MessageWindow();
    Check(::WSAAsyncSelect(link, window, kNotice, FD_READ | FD_CLOSE) == 0, "WSAAsyncSelect");
    std::size_t received = 0;
    char buffer[2048];
    MSG message{};
    while (received<bytes&& ::GetMessageW(&message, nullptr, 0, 0)> 0) {
        if (message.message != kNotice) {
            ::DispatchMessageW(&message);
            continue;
        }
        // One read a notice; at the close, what is left.
        const bool closed = WSAGETSELECTEVENT(message.lParam) == FD_CLOSE;
        int n = 0;
        do {
            n = ::recv(link, buffer, sizeof buffer, 0);
            received += n > 0 ? static_cast<std::size_t>(n) : 0;
        } while (closed && n > 0);
    }
    const double seconds = (NowMs() - start) / 1000;
    peer.join();
    ::closesocket(link);
    ::closesocket(listener);
    ::DestroyWindow(window);
    ::WSACleanup();
    Check(received == bytes, "the whole stream");
    return static_cast<double>(bytes) / seconds / 1e6;
}

std::vector<double> TimerTicksMs(double seconds) {
    HWND window = MessageWindow();
    ::timeBeginPeriod(1);
    const MMRESULT timer =
        ::timeSetEvent(1, 1, PostTick, reinterpret_cast<DWORD_PTR>(window), TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
    Check(timer != 0, "timeSetEvent");
    std::vector<double> ticks;
    const double end = NowMs() + seconds * 1000;
    MSG message{};
    while (NowMs() < end && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == kTick) {
            ticks.push_back(NowMs());
        } else {
            ::DispatchMessageW(&message);
        }
    }
    ::timeKillEvent(timer);
    ::timeEndPeriod(1);
    ::DestroyWindow(window);
    return ticks;
}

void WatchPaints(void* window) {
    g_watched = static_cast<HWND>(window);
    g_paints.clear();
    g_hook = ::SetWindowsHookExW(WH_GETMESSAGE, SeeMessage, nullptr, ::GetCurrentThreadId());
}

std::vector<double> PaintTimesMs() { return g_paints; }

void StopWatchingPaints() {
    if (g_hook != nullptr) {
        ::UnhookWindowsHookEx(g_hook);
        g_hook = nullptr;
    }
    g_watched = nullptr;
}

}  // namespace bare
