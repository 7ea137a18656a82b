#pragma once
// The Telnet layer of a network serial port: takes the data bytes out of the incoming stream
// (commands swallowed, a command split across reads carried over), puts data on the wire with
// IAC doubled, and answers the server's option requests. No sockets: the backend feeds it
// what it received and sends what it gives back.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace transport {

namespace telnet {
inline constexpr std::uint8_t kIac = 255;
inline constexpr std::uint8_t kDont = 254;
inline constexpr std::uint8_t kDo = 253;
inline constexpr std::uint8_t kWont = 252;
inline constexpr std::uint8_t kWill = 251;
inline constexpr std::uint8_t kSb = 250;
inline constexpr std::uint8_t kSe = 240;

inline constexpr std::uint8_t kBinary = 0;
inline constexpr std::uint8_t kEcho = 1;
inline constexpr std::uint8_t kSuppressGoAhead = 3;
inline constexpr std::uint8_t kComPort = 44;
}  // namespace telnet

class TelnetStream {
  public:
    // Us: an option this end performs (we say WILL, the server says DO). Him: an option the
    // server performs (we say DO, it says WILL).
    enum class Side : std::uint8_t { Us, Him };
    enum class State : std::uint8_t { Off, Asked, On, Refused };

    struct Subnegotiation {
        std::uint8_t option;
        std::vector<std::uint8_t> payload;  // IAC IAC already undone
        bool operator==(const Subnegotiation&) const = default;
    };

    // Longest subnegotiation payload kept; the rest of a longer one is dropped.
    static constexpr std::size_t kMaxPayload = 64;

    // Asks the server to agree to `option` on `side` (nothing is sent for an option already
    // on or asked for).
    void Ask(Side side, std::uint8_t option);
    State StateOf(Side side, std::uint8_t option) const;

    // Takes bytes received from the server. Writes their data bytes to `data` (which may be
    // `bytes` itself: there are never more data bytes than bytes) and returns their count.
    // Answers to the server's requests go to the outgoing bytes; subnegotiations are kept.
    std::size_t Receive(const std::uint8_t* bytes, std::size_t n, std::uint8_t* data);
    // Queues data for the wire: IAC doubled, and a bare CR sent as CR NUL while the server
    // has not agreed to binary transmission.
    void SendData(const std::uint8_t* bytes, std::size_t n);
    // Queues IAC SB option payload IAC SE (IAC in the payload doubled).
    void SendSubnegotiation(std::uint8_t option, const std::vector<std::uint8_t>& payload);

    // Everything to put on the wire, in order, since the last call.
    std::vector<std::uint8_t> TakeOutgoing();
    bool HasOutgoing() const { return !outgoing_.empty(); }
    // The subnegotiations received since the last call.
    std::vector<Subnegotiation> TakeSubnegotiations();

  private:
    enum class Parse : std::uint8_t { Data, Iac, Verb, SbOption, SbData, SbIac };

    State& At(Side side, std::uint8_t option);
    // The byte after an IAC: true when it is a data byte (IAC IAC), else the command starts.
    bool AfterIac(std::uint8_t b);
    void Command(std::uint8_t verb, std::uint8_t option);
    void EndSubnegotiation();
    void Put(std::uint8_t verb, std::uint8_t option);

    std::array<State, 256> us_{};
    std::array<State, 256> him_{};
    Parse parse_ = Parse::Data;
    std::uint8_t verb_ = 0;
    bool afterCr_ = false;  // the last data byte was a CR (a NUL after it is padding)
    Subnegotiation sb_{};
    std::vector<std::uint8_t> outgoing_;
    std::vector<Subnegotiation> received_;
};

}  // namespace transport
