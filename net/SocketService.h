#pragma once
// The per-thread state of the socket service, shared by the socket class and the hidden window.

#include <unordered_map>

#include "framework/Wnd.h"
#include "net/winsock.h"

class CAsyncSocket;

namespace net {

// The hidden window that receives the platform's event notices and the retire notices.
class CSocketWnd : public CWnd {
public:
    LRESULT OnSocketNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnSocketDead(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

struct SocketThreadState {
    SocketThreadState() {
        live.reserve(10);
        retired.reserve(10);
    }

    std::unordered_map<winsock::SOCKET, CAsyncSocket*> live;
    std::unordered_map<winsock::SOCKET, int> retired;
    CSocketWnd window;
};

// The calling thread's state, made on first use and kept for the program's life (net/PerThread.h).
SocketThreadState& ThreadState();

}  // namespace net
