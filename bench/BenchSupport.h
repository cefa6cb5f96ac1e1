#pragma once
// What the benchmark and the soak share: loopback peers made with the system's own sockets, the
// process's memory and descriptors, and running a console with a script inside its loop.

// The program's headers first: the system socket headers define some of their names as macros.
#include "app/ConsoleApp.h"
#include "console/ConsoleDlg.h"
#include "framework/MessageLoop.h"

#include <netinet/in.h>

#include <chrono>
#include <cstdint>
#include <functional>

namespace bench {

// The process around the consoles: the platform on Qt's offscreen backend, the application object
// and the socket service, which must start or the run ends.
class Session {
public:
    Session(int& argc, char** argv);
    CConsoleApp& App() { return m_app; }

private:
    bool m_offscreen;  // set before the platform starts, which reads it
    CPlatform m_platform;
    CConsoleApp m_app;
};

using Clock = std::chrono::steady_clock;

// A figure cannot be taken without its loopback peers: a failed step ends the program.
void Check(bool ok, const char* what);
double Seconds(Clock::duration d);
long RssKiB();
// Bytes the heap has handed out and not had back: what a leak makes grow, whatever RSS does.
long HeapInUseKiB();
int OpenDescriptors();

sockaddr_in Loopback(std::uint16_t port);
int Listener(std::uint16_t* port);   // listening on 127.0.0.1, any free port
std::uint16_t FreePort(int type);    // a port nobody holds right now
int ConnectTo(std::uint16_t port);   // blocking, retried until the port listens
int UdpSocket(std::uint16_t* port);  // bound to 127.0.0.1, any free port

void Click(CConsoleDlg& dialog, int id);
// Points the console's module at 127.0.0.1 and `port`: runs never reach past loopback.
void SetModule(CConsoleDlg& dialog, std::uint16_t port);
bool PumpUntil(const std::function<bool()>& done, int timeoutMs);
// Runs a console with `script` inside its loop, as the program runs it; the console is ended when
// the script returns.
void RunConsole(CConsoleApp& app, const std::function<void(CConsoleDlg&)>& script, CWnd* parent = nullptr);

}  // namespace bench
