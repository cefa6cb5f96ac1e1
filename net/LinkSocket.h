#pragma once
// CLinkSocket: the console's endpoint. It turns the socket events that matter to a link into calls
// on its owner, and sends over a stream whole: what the socket cannot take at once waits in the
// endpoint and goes out on its write notices, so a message is never torn and nothing is lost.
// Out-of-band events are not forwarded.

#include <cstddef>
#include <string>

#include "net/AsyncSocket.h"

class CLinkSocket;

// What an endpoint's owner receives: the endpoint that raised the event and the event's error code
// (0 for none). The owner may close the endpoint inside the call.
class CLinkOwner {
public:
    virtual void OnLinkAccept(CLinkSocket* socket, int errorCode) = 0;
    virtual void OnLinkConnect(CLinkSocket* socket, int errorCode) = 0;
    virtual void OnLinkReceive(CLinkSocket* socket, int errorCode) = 0;
    virtual void OnLinkClose(CLinkSocket* socket, int errorCode) = 0;
    // The socket has taken `bytes` more of what SendWhole was given; they have left.
    virtual void OnLinkSent(CLinkSocket* socket, int bytes) = 0;

protected:
    ~CLinkOwner() = default;
};

class CLinkSocket : public CAsyncSocket {
public:
    CLinkSocket();
    ~CLinkSocket() override;

    // Not owned; set by the owner before the endpoint holds a socket.
    CLinkOwner* m_pOwner;

    // The most that may wait unsent; a send that would pass it is refused whole.
    static constexpr std::size_t kMaxUnsentBytes = std::size_t{16} * 1024 * 1024;

    // Sends `data` over the stream whole and in order: straight away when nothing waits (one socket
    // call, more only while the socket takes part of it without refusing), else behind what waits.
    // What the socket has not taken when it would block waits for its write notice. False, with
    // nothing sent or kept, when the bytes waiting would pass kMaxUnsentBytes or when the socket
    // refuses the send outright (no socket, a connection reset). A failure while the rest of an
    // earlier send goes out drops that rest; the connection's close event follows.
    BOOL SendWhole(const void* data, int length);
    bool HasUnsent() const { return m_unsent.size() > m_unsentFrom; }
    std::size_t UnsentBytes() const { return m_unsent.size() - m_unsentFrom; }
    // Drops what waits unsent, then closes the socket.
    void Close() override;

    void OnAccept(int errorCode) override;
    void OnConnect(int errorCode) override;
    void OnReceive(int errorCode) override;
    void OnSend(int errorCode) override;
    void OnClose(int errorCode) override;

private:
    // Hands what waits to the socket until all is taken or the socket would block.
    void SendUnsent();
    void DropUnsent();

    std::string m_unsent;  // bytes from m_unsentFrom on wait to be sent
    std::size_t m_unsentFrom = 0;
};
