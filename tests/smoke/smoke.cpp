// What a new user does first, done to the real Quenzo.exe from outside: start it, open a UDP
// endpoint and then a TCP client against peers on 127.0.0.1, send and receive on each, close the
// window with Esc, and see the program end with status 0. The peers are this program's sockets.
//   quenzo_smoke path\to\Quenzo.exe
#define WIN32_LEAN_AND_MEAN
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

#include "res/Resource.h"

namespace {

int g_failures = 0;

void Check(bool ok, const char* what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
    g_failures += ok ? 0 : 1;
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs = 10000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

std::wstring Text(HWND window) {
    wchar_t buffer[4096] = {};
    ::SendMessageW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

struct Console {
    HWND dialog = nullptr;
    HWND Item(int id) const { return ::GetDlgItem(dialog, id); }
    void SetText(int id, const std::wstring& text) const {
        ::SendMessageW(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void Click(int id) const { ::SendMessageW(Item(id), BM_CLICK, 0, 0); }
    std::wstring Status() const { return Text(Item(IDC_STATUSBAR)); }
    std::wstring Received() const { return Text(Item(IDC_EDIT_RECEIVE)); }
};

sockaddr_in Loopback(u_short port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

u_short PortOf(SOCKET s) {
    sockaddr_in address{};
    int length = sizeof address;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

SOCKET Bound(int type) {
    const SOCKET s = ::socket(AF_INET, type, 0);
    const sockaddr_in any = Loopback(0);
    ::bind(s, reinterpret_cast<const sockaddr*>(&any), sizeof any);
    return s;
}

std::string ReceiveSome(SOCKET s, int timeoutMs) {
    const DWORD timeout = static_cast<DWORD>(timeoutMs);
    ::setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    char buffer[256];
    const int n = ::recv(s, buffer, sizeof buffer, 0);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

struct Search {
    DWORD process;
    HWND found;
};

// The console of the program this driver started: other programs (a test's console, say) may show
// windows of the same title meanwhile.
BOOL CALLBACK FindConsole(HWND window, LPARAM search) {
    auto* wanted = reinterpret_cast<Search*>(search);
    wchar_t title[256] = {};
    ::GetWindowTextW(window, title, 256);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == wanted->process && ::IsWindowVisible(window) && std::wstring(title).rfind(L"Quenzo", 0) == 0) {
        wanted->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: quenzo_smoke Quenzo.exe\n");
        return 2;
    }
    std::string path = argv[1];
    if (!path.empty() && path[0] == '/') {  // a Unix path, as Wine's Z: drive sees it
        for (char& c : path) {
            c = c == '/' ? '\\' : c;
        }
        path = "Z:" + path;
    }
    WSADATA data{};
    ::WSAStartup(MAKEWORD(2, 2), &data);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string command = "\"" + path + "\"";
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::printf("FAIL cannot start %s (%lu)\n", path.c_str(), ::GetLastError());
        return 1;
    }
    Console console;
    Search search{process.dwProcessId, nullptr};
    Check(WaitFor([&] {
              ::EnumWindows(FindConsole, reinterpret_cast<LPARAM>(&search));
              console.dialog = search.found;
              return console.dialog != nullptr;
          }),
          "the console's window opens with its title");
    if (console.dialog == nullptr) {
        ::TerminateProcess(process.hProcess, 1);
        return 1;
    }
    Check(WaitFor([&] { return console.Status() == L"READY"; }), "the status bar says READY");
    // The module is on loopback before anything opens.
    ::SendMessageW(console.Item(IDC_IPADDRESS_MODULE), IPM_SETADDRESS, 0, MAKEIPADDRESS(127, 0, 0, 1));

    // UDP: the console's endpoint on a free port, the peer's datagrams both ways.
    const SOCKET udpPeer = Bound(SOCK_DGRAM);
    const SOCKET spare = Bound(SOCK_DGRAM);
    const u_short localPort = PortOf(spare);
    ::closesocket(spare);
    console.Click(IDC_CHECK_TCP);
    console.SetText(IDC_EDIT_LOCAL_PORT, std::to_wstring(localPort));
    console.SetText(IDC_EDIT_MODULE_PORT, std::to_wstring(PortOf(udpPeer)));
    console.Click(IDC_BUTTON_CONNECT);
    Check(WaitFor([&] { return console.Status() == L"BINDED " + std::to_wstring(localPort) + L" PORT"; }),
          "UDP: the endpoint is bound");
    const sockaddr_in to = Loopback(localPort);
    ::sendto(udpPeer, "ping", 4, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    Check(WaitFor([&] { return console.Received() == L"ping"; }), "UDP: the peer's datagram is shown");
    console.SetText(IDC_EDIT_SEND, L"pong");
    console.Click(IDC_BUTTON_SEND);
    Check(ReceiveSome(udpPeer, 5000) == "pong", "UDP: MANUAL SEND reaches the peer");
    console.Click(IDC_BUTTON_CLOSE);
    Check(WaitFor([&] { return console.Status() == L"READY"; }), "UDP: CLOSE ends it");

    // TCP client: the console connects to the peer's listener.
    console.Click(IDC_CHECK_TCP);
    console.Click(IDC_BUTTON_CLEAR);
    const SOCKET listener = Bound(SOCK_STREAM);
    ::listen(listener, 1);
    console.SetText(IDC_EDIT_MODULE_PORT, std::to_wstring(PortOf(listener)));
    console.Click(IDC_BUTTON_CONNECT);
    const SOCKET tcpPeer = ::accept(listener, nullptr, nullptr);
    Check(tcpPeer != INVALID_SOCKET, "TCP: the console connects to the peer");
    Check(WaitFor([&] { return console.Status() == L"CREATE NEW CONNECT."; }), "TCP: the status says so");
    ::send(tcpPeer, "hello", 5, 0);
    Check(WaitFor([&] { return console.Received() == L"hello"; }), "TCP: the peer's bytes are shown");
    console.SetText(IDC_EDIT_SEND, L"world");
    console.Click(IDC_BUTTON_SEND);
    Check(ReceiveSome(tcpPeer, 5000) == "world", "TCP: MANUAL SEND reaches the peer");
    Check(WaitFor([&] { return Text(console.Item(IDC_STATUSBAR)).size() > 0; }), "the status bar still answers");
    console.Click(IDC_BUTTON_CLOSE);
    Check(ReceiveSome(tcpPeer, 5000).empty(), "TCP: DISCONNECT closes the connection");

    // Esc ends the console; the program's exit status is 0.
    ::PostMessageW(console.dialog, WM_KEYDOWN, VK_ESCAPE, 1);
    ::PostMessageW(console.dialog, WM_KEYUP, VK_ESCAPE, 1 | (1u << 30) | (1u << 31));
    const bool ended = ::WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0;
    Check(ended, "Esc closes the console");
    DWORD status = 1;
    ::GetExitCodeProcess(process.hProcess, &status);
    Check(ended && status == 0, "the program ends with status 0");
    if (!ended) {
        ::TerminateProcess(process.hProcess, 1);
    }
    std::printf("%s\n", g_failures == 0 ? "smoke: all passed" : "smoke: FAILED");
    return g_failures == 0 ? 0 : 1;
}
