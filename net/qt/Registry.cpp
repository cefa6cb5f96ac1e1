// The notice registry (Registry.h): which socket event notices to post or deliver, and when.
// Qt's backend only: on Windows the system's WSAAsyncSelect does this.
#include "net/qt/Registry.h"

#include <QSocketNotifier>
#include <QTimer>

#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <unordered_map>
#include <vector>

#include "framework/Wnd.h"
#include "framework/qt/PostOrDeliver.h"
#include "net/qt/Calls.h"
#include "net/qt/Errors.h"

namespace winsock::posix::registry {
namespace {

enum class Phase { Open, Connecting, Connected, Listening, Failed };

struct Entry {
    bool stream = false;
    Phase phase = Phase::Open;
    HWND window = nullptr;
    UINT message = 0;
    long events = 0;
    bool readPending = false;  // a read or accept notice waits for its receive or accept call
    bool readDue = false;      // the last read notice's receive left bytes known to wait: the next is due
    bool closeReported = false;
    bool writeWanted = false;  // a send would have blocked: announce when writable again
    int knownWaiting = -1;     // stream bytes known to wait: counted, less what was read since; -1 unknown
    int restMs = 0;            // a listener starved of descriptors rests this long before the next try
    std::unique_ptr<QTimer> rest;
    std::unique_ptr<QSocketNotifier> readNotifier;
    std::unique_ptr<QSocketNotifier> writeNotifier;
};

// Sockets are used from the thread that runs the message loop only.
std::unordered_map<int, Entry>& Entries() {
    static std::unordered_map<int, Entry> entries;
    return entries;
}

Entry* Find(int fd) {
    const auto found = Entries().find(fd);
    return found == Entries().end() ? nullptr : &found->second;
}

// How a notice reaches its window: posted, when a socket call raises it; or, from the loop's own
// callbacks, delivered at once when nothing posted is waiting before it.
enum class Via { Post, Loop };

// The entry may be gone when this returns: a notice delivered at once runs handlers that may close
// the socket. Callers look it up again.
void Post(int fd, const Entry& entry, long event, int wsaError, Via via = Via::Post) {
    if (entry.window == nullptr || (entry.events & event) == 0) {
        return;
    }
    const LPARAM word = WSAMAKESELECTREPLY(static_cast<unsigned>(event), static_cast<unsigned>(wsaError));
    if (via == Via::Loop) {
        ::PostOrDeliverMessage(entry.window, entry.message, static_cast<WPARAM>(fd), word);
    } else {
        ::PostMessage(entry.window, entry.message, static_cast<WPARAM>(fd), word);
    }
}

constexpr int kFirstRestMs = 50;
constexpr int kLongestRestMs = 1000;

bool Resting(const Entry& e) { return e.rest && e.rest->isActive(); }

bool WatchRead(const Entry& e) {
    if (e.window == nullptr || e.readPending || e.readDue || e.closeReported || Resting(e)) {
        return false;
    }
    // A stream socket that is neither listening nor connected reports hang-up on every poll.
    return !e.stream || e.phase == Phase::Listening || e.phase == Phase::Connected;
}

bool WatchWrite(const Entry& e) { return e.window != nullptr && (e.phase == Phase::Connecting || e.writeWanted); }

void OnReadable(int fd);
void OnWritable(int fd);

// How deep the thread is in notifier callbacks, which may run handlers that close sockets.
int& InNotifierCallback() {
    static int depth = 0;
    return depth;
}

struct NotifierCallback {
    NotifierCallback() { ++InNotifierCallback(); }
    ~NotifierCallback() { --InNotifierCallback(); }
    NotifierCallback(const NotifierCallback&) = delete;
    NotifierCallback& operator=(const NotifierCallback&) = delete;
};

void Update(int fd, Entry& e) {
    const bool read = WatchRead(e);
    if (read && !e.readNotifier) {
        e.readNotifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(e.readNotifier.get(), &QSocketNotifier::activated, [fd] {
            const NotifierCallback inside;
            OnReadable(fd);
        });
    }
    if (e.readNotifier) {
        e.readNotifier->setEnabled(read);
    }
    const bool write = WatchWrite(e);
    if (write && !e.writeNotifier) {
        e.writeNotifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
        QObject::connect(e.writeNotifier.get(), &QSocketNotifier::activated, [fd] {
            const NotifierCallback inside;
            OnWritable(fd);
        });
    }
    if (e.writeNotifier) {
        e.writeNotifier->setEnabled(write);
    }
}

// While bytes are known to wait on a stream, read notices follow one another without asking the
// system again. A receive that leaves bytes known to wait only marks the next notice due; the loop
// delivers it. A delivery run by the loop takes the notice its own handler's receive made due at
// once, for up to this long in one turn of the loop; what is due after that waits for the wake
// queued with it, at the next turn, so input, painting and other messages are served between slices.
constexpr auto kReadSlice = std::chrono::microseconds(1000);

void DeliverDueReads();

// Whether a wake for due read notices is queued. Every due notice has one queued after it.
bool& WakeQueued() {
    static bool queued = false;
    return queued;
}

void MakeReadDue(Entry& e) {
    e.readDue = true;
    if (!WakeQueued()) {
        WakeQueued() = true;
        QTimer::singleShot(0, DeliverDueReads);
    }
}

bool MayReadOn(const Entry& e) { return e.knownWaiting > 0 && e.window != nullptr && !e.closeReported; }

// Read notices for bytes known to wait, one after another as each one's receive makes the next due,
// until none is due (the notice was queued behind other messages, its handler did not read, or no
// byte is known to wait any more) or the slice is over.
void DeliverReads(int fd) {
    const auto sliceEnd = std::chrono::steady_clock::now() + kReadSlice;
    Entry* e = Find(fd);
    while (e != nullptr && MayReadOn(*e)) {
        e->readPending = true;
        Post(fd, *e, FD_READ, 0, Via::Loop);
        e = Find(fd);
        if (e == nullptr || !e->readDue || std::chrono::steady_clock::now() >= sliceEnd) {
            return;
        }
        e->readDue = false;
    }
}

// The queued wake: each socket's due notice, then the watch set for what is left.
void DeliverDueReads() {
    WakeQueued() = false;
    std::vector<int> due;
    for (const auto& [fd, e] : Entries()) {
        if (e.readDue) {
            due.push_back(fd);
        }
    }
    for (const int fd : due) {
        Entry* e = Find(fd);
        if (e == nullptr || !e->readDue) {
            continue;
        }
        e->readDue = false;
        DeliverReads(fd);
        if ((e = Find(fd)) != nullptr) {
            Update(fd, *e);
        }
    }
}

// What readable means for a connected stream: data, the peer's orderly close, or an error.
void OnStreamReadable(int fd, Entry& e) {
    if (const int waiting = calls::BytesWaiting(fd); waiting > 0) {
        e.knownWaiting = waiting;
        DeliverReads(fd);
        return;
    }
    char byte = 0;
    const ssize_t peeked = calls::Recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    if (peeked > 0) {
        e.readPending = true;
        Post(fd, e, FD_READ, 0, Via::Loop);
    } else if (peeked == 0) {
        e.closeReported = true;
        Post(fd, e, FD_CLOSE, 0, Via::Loop);
    } else if (errno != EAGAIN && errno != EWOULDBLOCK) {
        e.closeReported = true;
        Post(fd, e, FD_CLOSE, ErrorFromErrno(errno), Via::Loop);
    }
}

// The notifier stays armed while a read notice is handled at once: the handler's receive clears
// the pending notice before the loop polls again. Only a notice that has to wait in the queue, or
// one due at the next turn, switches the notifier off until its receive.
void OnReadable(int fd) {
    Entry* e = Find(fd);
    if (e == nullptr) {
        return;
    }
    if (e->readPending || e->readDue || e->closeReported) {
        Update(fd, *e);
        return;
    }
    if (e->phase == Phase::Listening) {
        e->readPending = true;
        Post(fd, *e, FD_ACCEPT, 0, Via::Loop);
    } else if (!e->stream) {
        e->readPending = true;
        Post(fd, *e, FD_READ, 0, Via::Loop);
    } else {
        OnStreamReadable(fd, *e);
    }
    if ((e = Find(fd)) != nullptr) {
        Update(fd, *e);
    }
}

void OnWritable(int fd) {
    Entry* e = Find(fd);
    if (e == nullptr) {
        return;
    }
    if (e->phase == Phase::Connecting) {
        ConnectEnded(fd, ErrorFromErrno(calls::ConnectError(fd)));
        return;
    }
    e->writeWanted = false;
    Update(fd, *e);
    Post(fd, *e, FD_WRITE, 0, Via::Loop);
}

}  // namespace

void Add(int fd, bool stream) {
    Entry entry;
    entry.stream = stream;
    Entries().insert_or_assign(fd, std::move(entry));
}

// The notifiers stop watching here, before the socket is closed, as the event loop requires; they
// are deleted once the loop is back, since a handler run from one of their own signals may be what
// closes the socket. The descriptor that is about to be freed may be what a resting listener waits
// for: it tries again.
void Remove(int fd) {
    if (Entry* e = Find(fd); e != nullptr && InNotifierCallback() > 0) {
        for (std::unique_ptr<QSocketNotifier>* notifier : {&e->readNotifier, &e->writeNotifier}) {
            if (*notifier) {
                (*notifier)->setEnabled(false);
                notifier->release()->deleteLater();
            }
        }
    }
    Entries().erase(fd);
    for (auto& [other, e] : Entries()) {
        if (Resting(e)) {
            e.rest->stop();
            Update(other, e);
        }
    }
}

bool IsStream(int fd) {
    const Entry* e = Find(fd);
    return e != nullptr && e->stream;
}

void AddAccepted(int listener, int fd) {
    Add(fd, true);
    Entry& e = *Find(fd);
    e.phase = Phase::Connected;
    if (const Entry* from = Find(listener)) {
        e.window = from->window;
        e.message = from->message;
        e.events = from->events;
    }
    Update(fd, e);
}

void Select(int fd, HWND window, UINT message, long events) {
    Entry* e = Find(fd);
    if (e == nullptr) {
        return;
    }
    e->window = events != 0 ? window : nullptr;
    e->message = message;
    e->events = events;
    Update(fd, *e);
}

int BytesKnownWaiting(int fd) {
    const Entry* e = Find(fd);
    return e != nullptr ? e->knownWaiting : -1;
}

void ReceiveCalled(int fd, long taken) {
    Entry* e = Find(fd);
    if (e == nullptr) {
        return;
    }
    e->readPending = false;
    e->knownWaiting = e->stream && e->knownWaiting > 0 && taken >= 0 ? e->knownWaiting - static_cast<int>(taken) : -1;
    if (MayReadOn(*e)) {
        // Bytes are still waiting: the next notice is due, as Windows Sockets posts the next one on
        // the receive call, without asking the system again.
        MakeReadDue(*e);
        return;
    }
    Update(fd, *e);
}

void AcceptCalled(int fd, bool starved) {
    Entry* e = Find(fd);
    if (e == nullptr) {
        return;
    }
    if (!starved) {
        e->restMs = 0;
    } else {
        e->restMs = e->restMs == 0 ? kFirstRestMs : std::min(e->restMs * 2, kLongestRestMs);
        if (!e->rest) {
            e->rest = std::make_unique<QTimer>();
            e->rest->setSingleShot(true);
            QObject::connect(e->rest.get(), &QTimer::timeout, [fd] {
                if (Entry* resting = Find(fd)) {
                    Update(fd, *resting);
                }
            });
        }
        e->rest->start(e->restMs);
    }
    ReceiveCalled(fd, -1);
}

void SendWouldBlock(int fd) {
    if (Entry* e = Find(fd)) {
        e->writeWanted = true;
        Update(fd, *e);
    }
}

void ListenSucceeded(int fd) {
    if (Entry* e = Find(fd)) {
        e->phase = Phase::Listening;
        Update(fd, *e);
    }
}

void ConnectStarted(int fd) {
    if (Entry* e = Find(fd)) {
        e->phase = Phase::Connecting;
        Update(fd, *e);
    }
}

void ConnectEnded(int fd, int wsaError) {
    Entry* e = Find(fd);
    if (e == nullptr || !e->stream) {
        return;
    }
    e->phase = wsaError == 0 ? Phase::Connected : Phase::Failed;
    Post(fd, *e, FD_CONNECT, wsaError);
    if (wsaError == 0) {
        Post(fd, *e, FD_WRITE, 0);
    }
    Update(fd, *e);
}

}  // namespace winsock::posix::registry
