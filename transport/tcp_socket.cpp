#include "tcp_socket.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace transport {
namespace {

using Clock = std::chrono::steady_clock;

// Errors that mean the connection itself is gone, not merely full or interrupted.
bool ConnectionGone(int error) {
    return error == ECONNRESET || error == EPIPE || error == ENOTCONN || error == ETIMEDOUT ||
           error == ECONNABORTED || error == EHOSTUNREACH || error == ENETUNREACH ||
           error == ENETDOWN;
}

int MillisecondsUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(left);
}

struct AddressList {
    addrinfo* first = nullptr;
    ~AddressList() {
        if (first) ::freeaddrinfo(first);
    }
};

// getaddrinfo cannot be given a time limit, so a name is looked up on a thread of its own; a
// lookup that takes too long is left to finish there and its result thrown away.
struct Lookup {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    bool abandoned = false;
    int result = EAI_AGAIN;
    addrinfo* list = nullptr;
};

OpenError Resolve(const HostPort& address, AddressList* out) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    const std::string service = std::to_string(address.port);
    // A numeric address needs no lookup.
    if (::getaddrinfo(address.host.c_str(), service.c_str(), &hints, &out->first) == 0) {
        return OpenError::None;
    }
    hints.ai_flags = AI_NUMERICSERV;
    auto lookup = std::make_shared<Lookup>();
    try {
        std::thread([lookup, host = address.host, service, hints] {
            addrinfo* list = nullptr;
            const int result = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &list);
            std::lock_guard lock(lookup->mutex);
            if (lookup->abandoned) {
                if (list) ::freeaddrinfo(list);
            } else {
                lookup->result = result;
                lookup->list = list;
            }
            lookup->finished = true;
            lookup->done.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return OpenError::Other;
    }
    std::unique_lock lock(lookup->mutex);
    if (!lookup->done.wait_for(lock, TcpSocket::kLookupTimeout, [&] { return lookup->finished; })) {
        lookup->abandoned = true;
        return OpenError::Missing;
    }
    out->first = lookup->list;
    if (lookup->result == 0) return OpenError::None;
    return lookup->result == EAI_MEMORY || lookup->result == EAI_SYSTEM ? OpenError::Other
                                                                        : OpenError::Missing;
}

OpenError ConnectErrorOf(int error) {
    switch (error) {
        case ECONNREFUSED:
            return OpenError::Refused;
        case ETIMEDOUT:
            return OpenError::NoAnswer;
        case ENETUNREACH:
        case EHOSTUNREACH:
        case EADDRNOTAVAIL:
        case EAFNOSUPPORT:
            return OpenError::Missing;
        case EACCES:
        case EPERM:
            return OpenError::Denied;
        default:
            return OpenError::Other;
    }
}

void SetOption(int fd, int level, int name, int value) {
    ::setsockopt(fd, level, name, &value, sizeof value);
}

// Connects one address by `deadline`: the socket, or -1 and the reason in `error`.
int ConnectOne(const addrinfo& address, Clock::time_point deadline, OpenError* error) {
    const int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                            address.ai_protocol);
    if (fd < 0) {
        *error = ConnectErrorOf(errno);
        return -1;
    }
    // A request is a few bytes that must leave at once, not wait for more to join them.
    SetOption(fd, IPPROTO_TCP, TCP_NODELAY, 1);
    SetOption(fd, IPPROTO_TCP, TCP_QUICKACK, 1);
    // A server that vanishes without closing (power lost, cable pulled) is noticed: bytes
    // unacknowledged for 10 s, or an idle connection whose probes go unanswered, end it.
    SetOption(fd, SOL_SOCKET, SO_KEEPALIVE, 1);
    SetOption(fd, IPPROTO_TCP, TCP_KEEPIDLE, 10);
    SetOption(fd, IPPROTO_TCP, TCP_KEEPINTVL, 5);
    SetOption(fd, IPPROTO_TCP, TCP_KEEPCNT, 3);
    SetOption(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, 10000);
    int result = ::connect(fd, address.ai_addr, address.ai_addrlen);
    if (result != 0 && errno == EINPROGRESS) {
        pollfd p{fd, POLLOUT, 0};
        int ready;
        do {
            ready = ::poll(&p, 1, MillisecondsUntil(deadline));
        } while (ready < 0 && errno == EINTR);
        if (ready <= 0) {
            ::close(fd);
            *error = OpenError::NoAnswer;
            return -1;
        }
        int failure = 0;
        socklen_t size = sizeof failure;
        ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &failure, &size);
        errno = failure;
        result = failure == 0 ? 0 : -1;
    }
    if (result != 0) {
        *error = ConnectErrorOf(errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

bool ParseHostPort(std::string_view text, HostPort* out) {
    std::string_view host;
    std::string_view port;
    if (text.starts_with('[')) {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos || text.substr(close + 1, 1) != ":") return false;
        host = text.substr(1, close - 1);
        port = text.substr(close + 2);
    } else {
        const std::size_t colon = text.rfind(':');
        if (colon == std::string_view::npos) return false;
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
        if (host.find(':') != std::string_view::npos) return false;  // IPv6 needs brackets
    }
    unsigned value = 0;
    const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), value);
    if (host.empty() || port.empty() || error != std::errc{} || end != port.data() + port.size() ||
        value == 0 || value > 65535) {
        return false;
    }
    out->host = std::string(host);
    out->port = static_cast<std::uint16_t>(value);
    return true;
}

TcpSocket::~TcpSocket() {
    Close();
}

OpenError TcpSocket::Connect(const HostPort& address) {
    Close();
    AddressList addresses;
    if (const OpenError error = Resolve(address, &addresses); error != OpenError::None) {
        return error;
    }
    // A name may stand for several addresses (localhost: ::1 and 127.0.0.1): the first that
    // takes the connection wins.
    const Clock::time_point deadline = Clock::now() + kConnectTimeout;
    OpenError error = OpenError::Missing;
    for (const addrinfo* a = addresses.first; a; a = a->ai_next) {
        const int fd = ConnectOne(*a, deadline, &error);
        if (fd >= 0) {
            fd_ = fd;
            return OpenError::None;
        }
        if (error == OpenError::NoAnswer) break;  // the time is up
    }
    return error;
}

void TcpSocket::Close() {
    const int fd = fd_.exchange(-1);
    if (fd < 0) return;
    // Say we are done and wait (briefly) for the server to close its end too: a server that
    // takes one client at a time has then let go of the line, and a re-open right after this
    // (the scan's next rate) is not turned away as a second client.
    if (::shutdown(fd, SHUT_WR) == 0) {
        const Clock::time_point deadline = Clock::now() + kCloseLinger;
        std::uint8_t scratch[256];
        for (;;) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, MillisecondsUntil(deadline)) <= 0) break;
            if (::recv(fd, scratch, sizeof scratch, MSG_DONTWAIT) <= 0) break;
        }
    }
    ::close(fd);
}

std::size_t TcpSocket::Receive(std::uint8_t* buffer, std::size_t maximum, bool* gone) {
    const int fd = fd_.load();
    if (fd < 0 || maximum == 0) return 0;
    const ssize_t n = ::recv(fd, buffer, maximum, MSG_DONTWAIT);
    if (n > 0) {
        // Acknowledge at once, not up to 40 ms later: a server that holds small writes back
        // until the last one is acknowledged (Nagle) would otherwise cut a reply in two with
        // a pause longer than the framing gap.
        SetOption(fd, IPPROTO_TCP, TCP_QUICKACK, 1);
        return static_cast<std::size_t>(n);
    }
    // The end of the stream: the server closed the connection.
    if (n == 0 || ConnectionGone(errno)) *gone = true;
    return 0;
}

bool TcpSocket::SendAll(const std::uint8_t* bytes, std::size_t length, Clock::time_point deadline,
                        bool* gone) {
    const int fd = fd_.load();
    if (fd < 0) return false;
    std::size_t done = 0;
    while (done < length) {
        // MSG_NOSIGNAL: a dropped connection is a gone line, not a SIGPIPE for the program.
        const ssize_t n = ::send(fd, bytes + done, length - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && ConnectionGone(errno)) {
            *gone = true;
            return false;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return false;
        const int left = MillisecondsUntil(deadline);
        if (left <= 0) return false;
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, left) > 0 && (p.revents & (POLLHUP | POLLERR))) {
            *gone = true;
            return false;
        }
    }
    return true;
}

bool TcpSocket::WaitReadable(Clock::time_point deadline) {
    const int fd = fd_.load();
    if (fd < 0) return false;
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, MillisecondsUntil(deadline));
        if (ready > 0) return true;  // bytes, the end of the stream or an error: Receive tells
        if (ready == 0 || errno != EINTR) return false;
    }
}

bool TcpSocket::Wait(Waker& waker, int timeoutMs) {
    // The socket may be closed by the UI thread while we wait (it wakes us first); then the
    // poll reports it invalid, which is no hang-up. A server that closed its end shows as
    // input: the read that follows finds the end of the stream after any last bytes.
    const int fd = fd_.load();
    pollfd p[2] = {{static_cast<int>(waker.Handle()), POLLIN, 0}, {fd, POLLIN, 0}};
    const nfds_t count = fd >= 0 ? 2 : 1;
    if (::poll(p, count, timeoutMs) <= 0) return true;
    if (p[0].revents & POLLIN) waker.Drain();
    return !(count == 2 && (p[1].revents & (POLLHUP | POLLERR)));
}

}  // namespace transport
