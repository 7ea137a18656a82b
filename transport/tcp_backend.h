#pragma once
// A serial line behind a device server that passes raw bytes over TCP ("tcp://HOST:PORT"):
// the line's rate and framing are set on the server and cannot be changed from here.
#include "port_backend.h"
#include "tcp_socket.h"

namespace transport {

class TcpBackend : public PortBackend {
  public:
    OpenError Open(const std::string& name, const LineSettings& settings) override;
    void Close() override { socket_.Close(); }
    std::size_t Read(std::uint8_t* buffer, std::size_t maximum, bool* gone) override;
    bool Write(const std::uint8_t* bytes, std::size_t length, bool* gone) override;
    bool Wait(Waker& waker, int timeoutMs) override { return socket_.Wait(waker, timeoutMs); }
    bool CanSetRate() const override { return false; }

  private:
    TcpSocket socket_;
};

// The "HOST:PORT" of a network port's name after `scheme` ("tcp://"); false when the name
// has another scheme or no valid host and port.
bool NetworkAddressOf(const std::string& name, std::string_view scheme, HostPort* out);

}  // namespace transport
