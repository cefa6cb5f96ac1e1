#pragma once
// CLinkSocket: the console's endpoint. It turns the socket events that matter to a link into calls
// on its owner; write-ready and out-of-band events are not forwarded.

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

protected:
    ~CLinkOwner() = default;
};

class CLinkSocket : public CAsyncSocket {
public:
    CLinkSocket();
    ~CLinkSocket() override;

    // Not owned; set by the owner before the endpoint holds a socket.
    CLinkOwner* m_pOwner;

    void OnAccept(int errorCode) override;
    void OnConnect(int errorCode) override;
    void OnReceive(int errorCode) override;
    void OnClose(int errorCode) override;
};
