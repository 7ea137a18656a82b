#include "rfc2217_backend.h"

#include "tcp_backend.h"

namespace transport {
namespace {

using namespace telnet;
using Side = TelnetStream::Side;
using State = TelnetStream::State;

constexpr std::chrono::seconds kWriteTimeout{1};

std::uint8_t ParityCode(std::uint8_t parity) {
    return parity == 1 ? 2 : parity == 2 ? 3 : 1;  // odd, even, none
}

std::uint8_t StopSizeCode(std::uint8_t stopBits) {
    return stopBits == 2 ? 2 : 1;
}

// A server may answer with the rate its clock really gives; a UART takes 2 % off.
bool CloseEnough(std::uint32_t asked, std::uint32_t given) {
    const std::uint64_t difference = asked > given ? asked - given : given - asked;
    return difference * 50 <= asked;
}

}  // namespace

OpenError Rfc2217Backend::Open(const std::string& name, const LineSettings& settings) {
    Close();
    HostPort address;
    if (!NetworkAddressOf(name, "rfc2217://", &address)) return OpenError::Missing;
    if (settings.baud == 0 || settings.byteSize < 5 || settings.byteSize > 8) {
        return OpenError::BadSettings;
    }
    if (const OpenError error = socket_.Connect(address); error != OpenError::None) return error;
    const OpenError error = Negotiate(settings);
    if (error != OpenError::None) Close();
    return error;
}

OpenError Rfc2217Backend::Negotiate(const LineSettings& settings) {
    telnet_ = TelnetStream{};
    answers_.clear();
    // Binary both ways, so that CR and NUL pass as they are; no go-ahead. The server may
    // refuse these: the stream then pads a bare CR as Telnet wants.
    telnet_.Ask(Side::Us, kBinary);
    telnet_.Ask(Side::Him, kBinary);
    telnet_.Ask(Side::Us, kSuppressGoAhead);
    telnet_.Ask(Side::Him, kSuppressGoAhead);
    telnet_.Ask(Side::Us, kComPort);
    OpenError error = Converse(Clock::now() + kAnswerTimeout, [&]() -> std::optional<OpenError> {
        switch (telnet_.StateOf(Side::Us, kComPort)) {
            case State::On:
                return OpenError::None;
            case State::Refused:
            case State::Off:
                return OpenError::NotSerial;  // a Telnet server without a serial line
            default:
                return std::nullopt;
        }
    });
    if (error != OpenError::None) return error;

    using namespace comport;
    const std::uint32_t baud = settings.baud;
    const std::vector<std::uint8_t> baudBytes = {
        static_cast<std::uint8_t>(baud >> 24), static_cast<std::uint8_t>(baud >> 16),
        static_cast<std::uint8_t>(baud >> 8), static_cast<std::uint8_t>(baud)};
    const std::uint8_t parity = ParityCode(settings.parity);
    const std::uint8_t stopSize = StopSizeCode(settings.stopBits);
    const auto command = [&](std::uint8_t code, std::vector<std::uint8_t> value) {
        value.insert(value.begin(), code);
        telnet_.SendSubnegotiation(kComPort, value);
    };
    command(kSetBaudRate, baudBytes);
    command(kSetDataSize, {settings.byteSize});
    command(kSetParity, {parity});
    command(kSetStopSize, {stopSize});
    // As a local open leaves the line: no flow control, DTR and RTS raised. A server whose
    // line has no such wires (a pseudo-terminal) need not confirm these, nor the purge.
    command(kSetControl, {kNoFlowControl});
    command(kSetControl, {kDtrOn});
    command(kSetControl, {kRtsOn});
    command(kPurgeData, {kPurgeBoth});

    const std::uint8_t needed[] = {kSetBaudRate, kSetDataSize, kSetParity, kSetStopSize};
    error = Converse(Clock::now() + kAnswerTimeout, [&]() -> std::optional<OpenError> {
        for (const std::uint8_t code : needed) {
            if (!answers_.contains(code + kServerAnswer)) return std::nullopt;
        }
        return OpenError::None;
    });
    if (error != OpenError::None) return error;

    // The server answers with what the line now has.
    const auto& given = answers_[kSetBaudRate + kServerAnswer];
    const auto one = [&](std::uint8_t code) {
        const auto& answer = answers_[code + kServerAnswer];
        return answer.size() == 1 ? answer[0] : 0;
    };
    if (given.size() != 4 ||
        !CloseEnough(baud, static_cast<std::uint32_t>(given[0]) << 24 | given[1] << 16 |
                               given[2] << 8 | given[3]) ||
        one(kSetDataSize) != settings.byteSize || one(kSetParity) != parity ||
        one(kSetStopSize) != stopSize) {
        return OpenError::BadSettings;
    }
    return OpenError::None;
}

OpenError Rfc2217Backend::Converse(Clock::time_point deadline,
                                   const std::function<std::optional<OpenError>()>& outcome) {
    for (;;) {
        bool gone = false;
        if (!SendQueued(&gone)) return gone ? OpenError::Refused : OpenError::NoAnswer;
        if (const auto result = outcome()) return *result;
        if (!socket_.WaitReadable(deadline)) return OpenError::NoAnswer;
        std::uint8_t buffer[256];
        const std::size_t n = socket_.Receive(buffer, sizeof buffer, &gone);
        // A server that closes before the line is set up turned us away (another client
        // holds the line, or it serves none).
        if (gone) return OpenError::Refused;
        // Bytes from the line before it is set up answer no request of ours.
        telnet_.Receive(buffer, n, buffer);
        for (auto& sb : telnet_.TakeSubnegotiations()) {
            if (sb.option != kComPort || sb.payload.empty()) continue;
            const std::uint8_t code = sb.payload[0];
            sb.payload.erase(sb.payload.begin());
            answers_[code] = std::move(sb.payload);
        }
    }
}

bool Rfc2217Backend::SendQueued(bool* gone) {
    if (!telnet_.HasOutgoing()) return true;
    const std::vector<std::uint8_t> wire = telnet_.TakeOutgoing();
    return socket_.SendAll(wire.data(), wire.size(), Clock::now() + kWriteTimeout, gone);
}

std::size_t Rfc2217Backend::Read(std::uint8_t* buffer, std::size_t maximum, bool* gone) {
    const std::size_t n = socket_.Receive(buffer, maximum, gone);
    if (n == 0) return 0;
    // Never more data bytes than bytes: the data is taken out in place.
    const std::size_t data = telnet_.Receive(buffer, n, buffer);
    // The server's notices of line and modem state: nothing here waits for them.
    telnet_.TakeSubnegotiations();
    SendQueued(gone);  // answers to its option requests
    return data;
}

bool Rfc2217Backend::Write(const std::uint8_t* bytes, std::size_t length, bool* gone) {
    telnet_.SendData(bytes, length);
    return SendQueued(gone);
}

}  // namespace transport
