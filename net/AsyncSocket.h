#pragma once
// CAsyncSocket: one IPv4 socket whose events arrive as calls on the object, on the thread that
// created it, one at a time and in the order the events happened.
//
// The socket service keeps, per thread, a live table (handle to object), a retired table (handle to
// the number of retire notices still queued for it) and a hidden notification window that exists
// exactly while the live table is not empty. The platform sends each registered event to that
// window as a notice, in the order the events happened (on Windows the system posts it; on Linux the
// registry posts it, or delivers it from the event loop when nothing posted waits before it); the
// window's handler hands each notice straight to its socket. A notice for a handle closed after it
// was posted is dropped.

#include "framework/AfxTypes.h"
#include "framework/Object.h"
#include "framework/String.h"
#include "net/winsock.h"

// Notices to the hidden window: a socket event (wParam the handle, lParam event and error), and the
// retirement of a closed handle (wParam the handle).
inline constexpr UINT WM_SOCKET_NOTIFY = 0x0373;
inline constexpr UINT WM_SOCKET_DEAD = 0x0374;
// In the framework's range: they wait, as posted messages do, while a validation message is open.
static_assert(WM_SOCKET_NOTIFY >= WM_AFXFIRST && WM_SOCKET_DEAD <= WM_AFXLAST);

inline constexpr long FD_ALL_EVENTS = winsock::FD_READ | winsock::FD_WRITE | winsock::FD_OOB | winsock::FD_ACCEPT |
                                      winsock::FD_CONNECT | winsock::FD_CLOSE;

// Starts the platform's socket service (Windows Sockets 1.1) on the first successful call and sets up
// the calling thread's socket tables. False when the service is refused or grants another version.
BOOL StartSocketService(winsock::WSADATA* data = nullptr);

class CAsyncSocket : public CObject {
public:
    CAsyncSocket();
    ~CAsyncSocket() override;

    // Makes a socket of `type`, registers `events` and binds it to `port` and `address` (any local
    // address when null). A bind failure closes the socket again and keeps the bind's error. Raises
    // CResourceException when event delivery cannot be set up.
    BOOL Create(UINT port = 0, int type = winsock::SOCK_STREAM, long events = FD_ALL_EVENTS,
                const char* address = nullptr);
    // `address` is dotted decimal text, never a name; text that does not convert is an invalid
    // argument (10022) and reaches no platform call.
    BOOL Bind(UINT port, const char* address = nullptr);
    // Dotted decimal text, else a host name (first address). Starts without blocking: normally false
    // with 10035, the outcome following as OnConnect. A stream connect that fails in the call itself
    // (the address refused at once, 0.0.0.0 among them) fails the same way, through OnConnect; only
    // a connect already made or under way is refused with its own error.
    BOOL Connect(const char* host, UINT port);
    virtual BOOL Accept(CAsyncSocket& connected, winsock::sockaddr* address = nullptr, int* addressLength = nullptr);
    virtual void Close();

    virtual int Receive(void* buffer, int capacity, int flags = 0);
    virtual int Send(const void* data, int length, int flags = 0);
    // A null host sends to the broadcast address 255.255.255.255.
    int SendTo(const void* data, int length, UINT port, const char* host = nullptr, int flags = 0);
    int ReceiveFrom(void* buffer, int capacity, CString& address, UINT& port, int flags = 0);
    BOOL GetPeerName(CString& address, UINT& port);

    BOOL Socket(int type = winsock::SOCK_STREAM, long events = FD_ALL_EVENTS, int protocol = 0,
                int family = winsock::AF_INET);
    BOOL AsyncSelect(long events = FD_ALL_EVENTS);
    BOOL IOCtl(long command, DWORD* argument);
    static int GetLastError() { return winsock::WSAGetLastError(); }

    // The platform handle; all bits set when the object holds no socket.
    winsock::SOCKET m_hSocket;

    // Event handlers; the base versions do nothing.
    virtual void OnReceive(int errorCode);
    virtual void OnSend(int errorCode);
    virtual void OnOutOfBandData(int errorCode);
    virtual void OnAccept(int errorCode);
    virtual void OnConnect(int errorCode);
    virtual void OnClose(int errorCode);

    // The service's side: the live and retired tables and event dispatch.
    static CAsyncSocket* LookupHandle(winsock::SOCKET handle);
    static void AttachHandle(winsock::SOCKET handle, CAsyncSocket* socket);
    static void DetachHandle(winsock::SOCKET handle);
    static void KillSocket(winsock::SOCKET handle);
    static void DoCallBack(WPARAM wParam, LPARAM lParam);

protected:
    // The three steps by which Connect, ReceiveFrom and SendTo reach the platform.
    virtual BOOL ConnectHelper(const winsock::sockaddr* address, int length);
    virtual int ReceiveFromHelper(void* buffer, int capacity, winsock::sockaddr* from, int* fromLength, int flags);
    virtual int SendToHelper(const void* data, int length, const winsock::sockaddr* to, int toLength, int flags);
};
