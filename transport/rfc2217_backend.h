#pragma once
// A serial line behind a device server that speaks Telnet with the com port control option
// ("rfc2217://HOST:PORT"): every Open sets the remote line's rate and framing, so the scan's
// rates and a changed device rate reach the line as they do on a local adapter.
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "port_backend.h"
#include "tcp_socket.h"
#include "telnet_stream.h"

namespace transport {

// The com port control option's commands (the server answers each with the code + 100).
namespace comport {
inline constexpr std::uint8_t kSetBaudRate = 1;
inline constexpr std::uint8_t kSetDataSize = 2;
inline constexpr std::uint8_t kSetParity = 3;
inline constexpr std::uint8_t kSetStopSize = 4;
inline constexpr std::uint8_t kSetControl = 5;
inline constexpr std::uint8_t kPurgeData = 12;
inline constexpr std::uint8_t kServerAnswer = 100;

inline constexpr std::uint8_t kNoFlowControl = 1;
inline constexpr std::uint8_t kDtrOn = 8;
inline constexpr std::uint8_t kRtsOn = 11;
inline constexpr std::uint8_t kPurgeBoth = 3;
}  // namespace comport

class Rfc2217Backend : public PortBackend {
  public:
    // The server has this long to agree to the option, and then as long again to confirm the
    // line settings; Open fails with NoAnswer after that.
    static constexpr std::chrono::milliseconds kAnswerTimeout{2000};

    OpenError Open(const std::string& name, const LineSettings& settings) override;
    void Close() override { socket_.Close(); }
    std::size_t Read(std::uint8_t* buffer, std::size_t maximum, bool* gone) override;
    bool Write(const std::uint8_t* bytes, std::size_t length, bool* gone) override;
    bool Wait(Waker& waker, int timeoutMs) override { return socket_.Wait(waker, timeoutMs); }

  private:
    using Clock = std::chrono::steady_clock;
    OpenError Negotiate(const LineSettings& settings);
    // Sends what the Telnet layer has queued and reads the server's answers until `outcome`
    // gives a result, the deadline passes (NoAnswer) or the server closes (Refused).
    OpenError Converse(Clock::time_point deadline,
                       const std::function<std::optional<OpenError>()>& outcome);
    bool SendQueued(bool* gone);

    TcpSocket socket_;
    TelnetStream telnet_;
    // The server's com port answers during Open, by their code.
    std::map<std::uint8_t, std::vector<std::uint8_t>> answers_;
};

}  // namespace transport
