#pragma once
// A non-blocking TCP connection to a serial device server, as both network backends use it:
// a bounded connect (name lookup included), reads of what waits now, whole writes with a
// deadline, and a wait beside the reader's waker. A connection that drops (end of stream,
// reset, hang-up) is reported as a gone line.
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "port_backend.h"
#include "waker.h"

namespace transport {

struct HostPort {
    std::string host;
    std::uint16_t port = 0;
};

// "HOST:PORT" or "[IPv6]:PORT" (what follows "scheme://" in a port's name); false when the
// host is empty or the port is not a number from 1 to 65535.
bool ParseHostPort(std::string_view text, HostPort* out);

class TcpSocket {
  public:
    // The name lookup and the connect each give up after this long.
    static constexpr std::chrono::milliseconds kLookupTimeout{2000};
    static constexpr std::chrono::milliseconds kConnectTimeout{2000};
    // How long Close waits for the server to close its end.
    static constexpr std::chrono::milliseconds kCloseLinger{250};

    TcpSocket() = default;
    ~TcpSocket();
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    // Missing for an unknown host (or one not found in time) or one without a route,
    // Refused when nothing listens there, NoAnswer when the connect timed out.
    OpenError Connect(const HostPort& address);
    void Close();
    bool IsOpen() const { return fd_.load() >= 0; }

    // The bytes that wait now, at most `maximum`; sets `gone` when the connection dropped.
    std::size_t Receive(std::uint8_t* buffer, std::size_t maximum, bool* gone);
    // All bytes, or false once `deadline` passes; sets `gone` when the connection dropped.
    bool SendAll(const std::uint8_t* bytes, std::size_t length,
                 std::chrono::steady_clock::time_point deadline, bool* gone);
    // Sleeps until bytes (or the end of the stream) wait or `deadline` passes; false then.
    bool WaitReadable(std::chrono::steady_clock::time_point deadline);
    // The backend's Wait: until input waits, the waker fires or `timeoutMs` pass; false when
    // the connection hung up meanwhile.
    bool Wait(Waker& waker, int timeoutMs);

  private:
    // Read by a Wait on the reader thread while the UI thread may close the connection.
    std::atomic<int> fd_{-1};
};

}  // namespace transport
