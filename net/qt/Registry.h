#pragma once
// What the service knows of each open socket: its kind, where its connection stands, and its event
// registration (Qt's backend only: on Windows the system's WSAAsyncSelect keeps these rules). The
// socket calls report what they did here, and the registry decides which event notices to post and
// when, with the Windows Sockets re-enabling rules:
//  - read: posted once, then again only after the next receive call, and only while data remain;
//    while a stream's bytes are known to wait, the next one follows the receive without a poll;
//  - accept: posted once, then again only after the next accept call, while connections wait;
//  - connect: posted once when a connect started without blocking completes, with its error;
//  - close: posted once, after every byte before it has been read, with 0 or the reset's error;
//  - write: posted after a connect completes, and after a send that would have blocked, once the
//    socket can take data again.
// A socket whose read or accept notice is pending is not watched until the matching call, so an
// idle or busy program never spins on readiness it has already announced.
//
// No notice is delivered from inside a socket call: a call only records here what it did, and what
// it makes due is posted, or delivered by the event loop. A notice the loop's own callbacks raise
// (readiness, or the wake for a read made due by a receive) is delivered at once when nothing posted
// to its window waits before it (PostOrDeliverMessage), so a chunk costs one receive and no poll.

#include "framework/AfxTypes.h"
#include "net/winsock.h"

namespace winsock::posix::registry {

void Add(int fd, bool stream);
void Remove(int fd);
bool IsStream(int fd);

// The accepted socket takes the listener's registration.
void AddAccepted(int listener, int fd);

void Select(int fd, HWND window, UINT message, long events);

// A receive call ended, having taken `taken` bytes from the stream (0 for a peek, -1 when it
// failed). While bytes are known to wait, the next read notice follows without asking the system.
void ReceiveCalled(int fd, long taken);
// The bytes known to wait on a stream socket (counted by the system, less what has been read
// since), or -1: more may have come, never fewer, so asking again would only repeat the call.
int BytesKnownWaiting(int fd);
// An accept call ended. One that failed for want of descriptors or memory rests the listener: it is
// not watched for a while (50 ms, doubling to 1 s while it keeps failing), or until a descriptor
// of ours is closed, so that a waiting connection does not make it spin.
void AcceptCalled(int fd, bool starved = false);
void SendWouldBlock(int fd);
void ListenSucceeded(int fd);
void ConnectStarted(int fd);
// A connect that has already ended, connected (error 0) or failed with a Windows Sockets error.
void ConnectEnded(int fd, int wsaError);

}  // namespace winsock::posix::registry
