#include "net/posix/Registry.h"

#include <QSocketNotifier>
#include <QTimer>

#include <sys/ioctl.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <unordered_map>

#include "framework/Wnd.h"
#include "net/posix/Errors.h"

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
    bool closeReported = false;
    bool writeWanted = false;  // a send would have blocked: announce when writable again
    int knownWaiting = -1;     // stream bytes known to wait: counted, less what was read since; -1 unknown
    bool delivering = false;   // a read notice is being delivered at once from the loop's callback
    bool continuing = false;   // the next slice of read notices waits for the next turn of the loop
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

// How a notice reaches its window: posted, as from inside a handler; or, from the loop's own
// readiness callbacks, delivered at once when nothing posted is waiting before it.
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
    if (e.window == nullptr || e.readPending || e.closeReported || Resting(e)) {
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
// system again: each is delivered as soon as the last one's receive has taken its bytes, for up to
// this long in one turn of the loop; the next slice starts at the next turn, so input, painting and
// other messages are served between slices.
constexpr auto kReadSlice = std::chrono::microseconds(1000);

void ContinueReads(int fd);

// Read notices for bytes known to wait, delivered one after another as each one's receive takes its
// bytes, until none are known to wait, a notice has to wait in the queue, or the slice is over; the
// next slice then starts at the next turn of the loop.
void DeliverReads(int fd, Entry& entry) {
    const auto sliceEnd = std::chrono::steady_clock::now() + kReadSlice;
    for (Entry* e = &entry;;) {
        e->readPending = true;
        e->delivering = true;
        Post(fd, *e, FD_READ, 0, Via::Loop);
        if ((e = Find(fd)) == nullptr) {
            return;
        }
        e->delivering = false;
        // Queued behind other messages, not read by its handler, or nothing more known to wait: the
        // caller sets the watch for what is left.
        if (e->readPending || e->knownWaiting <= 0) {
            return;
        }
        if (std::chrono::steady_clock::now() >= sliceEnd) {
            ContinueReads(fd);
            return;
        }
    }
}

// Starts the next slice of read notices at the next turn of the loop; the socket stays unwatched
// meanwhile, since its bytes are known to wait.
void ContinueReads(int fd) {
    Entry* e = Find(fd);
    if (e == nullptr || e->continuing) {
        return;
    }
    e->readPending = true;
    e->continuing = true;
    QTimer::singleShot(0, [fd] {
        Entry* waiting = Find(fd);
        if (waiting == nullptr || !waiting->continuing) {
            return;
        }
        waiting->continuing = false;
        if (waiting->knownWaiting > 0 && waiting->window != nullptr && !waiting->closeReported) {
            DeliverReads(fd, *waiting);
        } else {
            waiting->readPending = false;
        }
        if (Entry* after = Find(fd)) {
            Update(fd, *after);
        }
    });
}

// What readable means for a connected stream: data, the peer's orderly close, or an error.
void OnStreamReadable(int fd, Entry& e) {
    int waiting = 0;
    if (::ioctl(fd, FIONREAD, &waiting) == 0 && waiting > 0) {
        e.knownWaiting = waiting;
        DeliverReads(fd, e);
        return;
    }
    char byte = 0;
    ssize_t peeked = 0;
    do {
        peeked = ::recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    } while (peeked < 0 && errno == EINTR);
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
// the pending notice before the loop polls again. Only a notice that has to wait in the queue
// switches the notifier off until its receive.
void OnReadable(int fd) {
    Entry* e = Find(fd);
    if (e == nullptr) {
        return;
    }
    if (e->readPending || e->closeReported) {
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
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
            error = errno;
        }
        ConnectEnded(fd, ErrorFromErrno(error));
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
    if (e->delivering) {
        return;  // the loop's callback that delivers the notice goes on from here
    }
    if (e->knownWaiting > 0 && e->window != nullptr && !e->closeReported) {
        // Bytes are still waiting: the next notices follow at the next turn of the loop, as Windows
        // Sockets posts the next one on the receive call, without asking the system again.
        ContinueReads(fd);
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
