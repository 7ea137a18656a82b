#include "frame_decoder.h"

#include <algorithm>
#include <array>

#include "config_frames.h"
#include "modbus_crc.h"

namespace protocol {
namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::uint8_t kAddressMarker = 0xFD;
// The shortest frame with a CRC: address, function and the two CRC bytes.
constexpr std::size_t kShortestFrame = 4;
// Register and quantity of the comm block write, which its reply echoes after 10.
constexpr std::uint8_t kCommBlockEcho[] = {kCommBlockRegister >> 8, kCommBlockRegister & 0xFF, 0,
                                           kCommBlockCount};

enum class Family { None, Modbus, Address, Parameter, Gateway };

Family FamilyOf(Bytes b) {
    if (b.size() >= kShortestFrame && b[1] == b[0] && b[2] == b[0]) {
        if (b[0] == kAddressMarker) return Family::Address;
        if (b[0] == kConfigMarker) return Family::Parameter;
        if (b[0] == kWirelessMarker) return Family::Gateway;
    }
    return b.size() >= 2 ? Family::Modbus : Family::None;
}

bool HasMarkers(Bytes b, std::uint8_t marker) {
    return b.size() >= 3 && b[0] == marker && b[1] == marker && b[2] == marker;
}

bool Crc(Bytes b) {
    return CrcMatches(b.data(), b.size());
}

// The bytes [0, end) lie before the frame's CRC.
bool Has(Bytes b, std::size_t end) {
    return b.size() >= end + 2;
}

std::uint16_t Word(Bytes b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] << 8 | b[at + 1]);
}

bool StartsWith(Bytes b, Bytes prefix) {
    return !prefix.empty() && b.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), b.begin());
}

bool SameAt(Bytes a, Bytes b, std::size_t from, std::size_t to) {
    return a.size() >= to && b.size() >= to &&
           std::equal(a.begin() + static_cast<long>(from), a.begin() + static_cast<long>(to),
                      b.begin() + static_cast<long>(from));
}

// Two whole frames, each with its CRC, back to back: a reply sent twice, or two devices.
bool TwoFrames(Bytes b) {
    for (std::size_t split = kShortestFrame; split + kShortestFrame <= b.size(); ++split)
        if (Crc(b.first(split)) && Crc(b.subspan(split))) return true;
    return false;
}

// What is wrong with a reply before its content counts: under 4 bytes, or a CRC that does not
// fit (cut short of the `least` bytes the reply needs, two frames, or a damaged one).
std::optional<Verdict> Framing(Bytes reply, std::size_t least) {
    if (reply.size() < kShortestFrame) return Verdict::TooShort;
    if (Crc(reply)) return std::nullopt;
    if (reply.size() < least) return Verdict::TooShort;
    if (TwoFrames(reply)) return Verdict::TooLong;
    return Verdict::CrcError;
}

bool IsException(Bytes reply) {
    return reply[1] & 0x80;
}

// Which reply check a program applies to a request's reply.
enum class Rule {
    None,
    ReadRegisters,
    WriteRegister,
    WriteRegisters,
    CommBlockRead,
    CommBlockWrite,
    AddressFrame,
    ParameterRead,
    ParameterWrite,
    Gateway,
};

bool IsCommBlock(Bytes request) {
    return Has(request, 6) && Word(request, 2) == kCommBlockRegister &&
           Word(request, 4) == kCommBlockCount;
}

Rule RuleOf(Bytes request) {
    switch (FamilyOf(request)) {
        case Family::Address:
            return request.size() >= 5 ? Rule::AddressFrame : Rule::None;
        case Family::Parameter:
            if (request.size() < 7) return Rule::None;
            return request[4] == kConfigRead ? Rule::ParameterRead : Rule::ParameterWrite;
        case Family::Gateway:
            return request.size() >= 5 ? Rule::Gateway : Rule::None;
        case Family::Modbus:
            if (!Has(request, 6)) return Rule::None;
            switch (request[1]) {
                case kReadHolding:
                    return IsCommBlock(request) ? Rule::CommBlockRead : Rule::ReadRegisters;
                case kWriteSingle:
                    return Rule::WriteRegister;
                case kWriteMultiple:
                    // The comm block write carries the new address in byte 8.
                    if (IsCommBlock(request))
                        return Has(request, 9) ? Rule::CommBlockWrite : Rule::None;
                    return Rule::WriteRegisters;
                default:
                    return Rule::None;
            }
        case Family::None:
            break;
    }
    return Rule::None;
}

Verdict JudgeRead(Bytes request, Bytes reply, const ReplyContext& context) {
    const std::size_t least = 3 + 2 * std::size_t{Word(request, 4)} + 2;
    if (auto v = Framing(reply, least)) return *v;
    if (IsException(reply)) return reply.size() > 4 ? Verdict::Exception : Verdict::TooShort;
    if (reply[0] != request[0] && reply[0] != context.alsoFrom) return Verdict::WrongAddress;
    if (reply[1] != kReadHolding) return Verdict::WrongFunction;
    if (reply.size() < least) return Verdict::TooShort;
    if (reply.size() > least) return Verdict::TooLong;
    return Verdict::Ok;
}

// The echo of a single write confirms it byte for byte; whatever follows it does not count.
Verdict JudgeWrite(Bytes request, Bytes reply) {
    constexpr std::size_t kEcho = 8;
    if (request.size() >= kEcho && SameAt(reply, request, 0, kEcho)) return Verdict::Ok;
    if (auto v = Framing(reply, kEcho)) return *v;
    if (IsException(reply)) return reply.size() > 4 ? Verdict::Exception : Verdict::TooShort;
    if (reply.size() < kEcho) return Verdict::TooShort;
    if (reply[0] != request[0]) return Verdict::WrongAddress;
    if (reply[1] != request[1]) return Verdict::WrongFunction;
    return Verdict::EchoMismatch;
}

// Function 16: exactly 8 bytes, echoing address, function, register and quantity.
Verdict JudgeWriteMultiple(Bytes request, Bytes reply, bool commBlock,
                           const ReplyContext& context) {
    constexpr std::size_t kReply = 8;
    if (auto v = Framing(reply, kReply)) return *v;
    if (IsException(reply)) return reply.size() > 4 ? Verdict::Exception : Verdict::TooShort;
    if (reply.size() < kReply) return Verdict::TooShort;
    if (reply.size() > kReply) return Verdict::TooLong;
    if (commBlock) {
        // Answered from the address written to, the device's own, or the new one it takes.
        if (reply[1] != kWriteMultiple) return Verdict::WrongFunction;
        if (!std::equal(std::begin(kCommBlockEcho), std::end(kCommBlockEcho), reply.begin() + 2))
            return Verdict::EchoMismatch;
        const std::uint8_t from = reply[0];
        if (from != request[0] && from != request[8] && from != context.alsoFrom)
            return Verdict::WrongAddress;
        return Verdict::Ok;
    }
    if (reply[0] != request[0]) return Verdict::WrongAddress;
    if (reply[1] != request[1]) return Verdict::WrongFunction;
    if (!SameAt(reply, request, 2, 6)) return Verdict::EchoMismatch;
    return Verdict::Ok;
}

// Any address and function, but an exception; all five registers.
Verdict JudgeCommBlockRead(Bytes reply) {
    constexpr std::size_t kReply = 3 + 2 * kCommBlockCount + 2;
    if (auto v = Framing(reply, kReply)) return *v;
    if (IsException(reply)) return reply.size() > 4 ? Verdict::Exception : Verdict::TooShort;
    if (reply.size() < kReply) return Verdict::TooShort;
    return Verdict::Ok;
}

// FD reply: a baud code 1..3, and what a set asked for.
Verdict JudgeAddressFrame(Bytes request, Bytes reply) {
    constexpr std::size_t kReply = 7;
    if (auto v = Framing(reply, kReply)) return *v;
    if (!HasMarkers(reply, kAddressMarker)) return Verdict::WrongFunction;
    if (reply.size() < kReply) return Verdict::TooShort;
    if (reply[3] < 1 || reply[3] > 3) return Verdict::WrongFunction;
    const std::uint8_t code = request[3];
    const std::uint8_t address = request[4];
    if (code == 0 && address != 0 && reply[4] != address) return Verdict::EchoMismatch;
    if (code != 0 && reply[3] != code) return Verdict::EchoMismatch;
    return Verdict::Ok;
}

// FC reply: a read takes any code; a write needs its code and value back, or (exactEcho) its
// nine bytes exactly.
Verdict JudgeParameter(Bytes request, Bytes reply, bool write, const ReplyContext& context) {
    constexpr std::size_t kReply = 9;
    const bool exact = write && context.exactEcho;
    if (exact && request.size() == kReply && SameAt(reply, request, 0, kReply)) return Verdict::Ok;
    if (auto v = Framing(reply, kReply)) return *v;
    if (!HasMarkers(reply, kConfigMarker)) return Verdict::WrongFunction;
    if (reply.size() < kReply) return Verdict::TooShort;
    if (!write) return Verdict::Ok;
    if (reply[3] != request[3]) return Verdict::WrongFunction;
    if (exact || !SameAt(reply, request, 5, 7)) return Verdict::EchoMismatch;
    return Verdict::Ok;
}

// FB reply: the least length of what the command's reply is read for, and the command bytes
// its check takes.
Verdict JudgeGateway(Bytes request, Bytes reply) {
    const std::uint8_t command = request[3];
    const bool read = request[4] == 0;
    std::size_t least = 6;  // the command byte and one more before the CRC
    bool commandOk = true;
    switch (command) {
        case kEnterConfigMode:
        case kConfigureNode:
            least = kGatewayNodeOffset + kGatewayNodeBytes + 2;
            commandOk = reply.size() > 3 && (reply[3] == kEnterConfigMode ||
                                             reply[3] == kConfigureNode || reply[3] == kClearNode);
            break;
        case kReadClimate:
            least = 11;
            break;
        case kSleepTime:
        case kChannel:
        case kRelayParameters:
            if (read) {
                least = command == kSleepTime ? 9 : command == kChannel ? 8 : 10;
                commandOk =
                    command != kRelayParameters || (reply.size() > 3 && reply[3] == command);
                break;
            }
            [[fallthrough]];
        default:
            commandOk = reply.size() > 3 && reply[3] == command;
            break;
    }
    if (auto v = Framing(reply, least)) return *v;
    if (!HasMarkers(reply, kWirelessMarker)) return Verdict::WrongFunction;
    if (reply.size() < least) return Verdict::TooShort;
    if (!commandOk) return Verdict::WrongFunction;
    return Verdict::Ok;
}

void DescribeModbus(Bytes b, Bytes request, bool reply, FrameDescription& d) {
    d.hasAddress = true;
    d.address = b[0];
    d.function = b[1];
    if (reply && IsException(b)) {
        d.kind = FrameKind::Exception;
        d.function = b[1] & 0x7F;
        if (Has(b, 3)) d.exception = static_cast<ExceptionCode>(b[2]);
        return;
    }
    switch (b[1]) {
        case kReadHolding:
            if (!reply) {
                d.kind = IsCommBlock(b) ? FrameKind::CommBlockRead : FrameKind::ReadRegisters;
                if (Has(b, 6)) {
                    d.reg = Word(b, 2);
                    d.count = Word(b, 4);
                }
                return;
            }
            d.kind = FrameKind::ReadRegisters;
            if (Has(request, 6) && FamilyOf(request) == Family::Modbus &&
                request[1] == kReadHolding) {
                d.reg = Word(request, 2);
                d.count = Word(request, 4);
                if (IsCommBlock(request)) d.kind = FrameKind::CommBlockRead;
            }
            // The registers the byte count announces, as far as they came before the CRC.
            if (Has(b, 3))
                for (std::size_t at = 3; Has(b, at + 2) && at + 2 <= 3 + std::size_t{b[2]}; at += 2)
                    d.values.push_back(Word(b, at));
            break;
        case kWriteSingle:
            d.kind = FrameKind::WriteRegister;
            if (Has(b, 6)) {
                d.reg = Word(b, 2);
                d.values = {Word(b, 4)};
            }
            return;
        case kWriteMultiple:
            d.kind = IsCommBlock(b) ? FrameKind::CommBlockWrite : FrameKind::WriteRegisters;
            if (Has(b, 6)) {
                d.reg = Word(b, 2);
                d.count = Word(b, 4);
            }
            if (!reply)
                for (std::size_t i = 0; i < d.count && Has(b, 7 + 2 * i + 2); ++i)
                    d.values.push_back(Word(b, 7 + 2 * i));
            break;
        default:
            d.kind = FrameKind::Unknown;
            d.hasAddress = false;
            d.address = 0;
            d.function = 0;
            return;
    }
    // The comm block: address, baud code, parity and the two stop-bit words, low bytes.
    const bool block = d.kind == FrameKind::CommBlockRead || d.kind == FrameKind::CommBlockWrite;
    if (block && d.values.size() >= kCommBlockCount) {
        const auto low = [&](std::size_t i) { return static_cast<std::uint8_t>(d.values[i]); };
        d.commBlock = {low(0), low(1), low(2), low(3), low(4)};
    }
}

void DescribeAddressFrame(Bytes b, bool reply, FrameDescription& d) {
    if (Has(b, 4)) d.addressFrame.baudCode = b[3];
    if (Has(b, 5)) d.addressFrame.address = b[4];
    const std::uint8_t code = d.addressFrame.baudCode;
    if (reply)
        d.kind = FrameKind::AddressReport;
    else if (code != 0)
        d.kind = FrameKind::BaudSet;
    else
        d.kind = d.addressFrame.address ? FrameKind::AddressSet : FrameKind::AddressQuery;
}

void DescribeParameter(Bytes b, bool reply, FrameDescription& d) {
    ParameterFields& p = d.parameter;
    if (Has(b, 4)) p.code = b[3];
    if (Has(b, 5)) p.operation = b[4];
    if (Has(b, 7)) p.value = Word(b, 5);
    // The long reply: a second value between the first and the CRC.
    if (reply && Has(b, 9)) {
        p.hasSecond = true;
        p.second = Word(b, 7);
    }
    d.kind = p.operation == kConfigRead ? FrameKind::ParameterRead : FrameKind::ParameterWrite;
}

FrameKind GatewayKind(std::uint8_t command) {
    switch (command) {
        case kEnterConfigMode:
            return FrameKind::EnterConfigMode;
        case kExitConfigMode:
            return FrameKind::ExitConfigMode;
        case kConfigureNode:
            return FrameKind::ConfigureNode;
        case kClearNode:
            return FrameKind::ClearNode;
        case kSleepTime:
            return FrameKind::SleepTime;
        case kReadClimate:
            return FrameKind::ReadClimate;
        case kChannel:
            return FrameKind::Channel;
        case kRelayParameters:
            return FrameKind::RelayParameters;
        default:
            return FrameKind::GatewayOther;
    }
}

// The configuration-mode report: sleep time, node table, channel, climate, relay block.
void DescribeGatewayReport(Bytes b, GatewayFields& g) {
    constexpr std::size_t kBitmapEnd = kGatewayNodeOffset + kGatewayNodeBytes;
    constexpr std::size_t kChannelAt = kBitmapEnd;
    constexpr std::size_t kClimateAt = kChannelAt + 1;
    constexpr std::size_t kRelayEnd = kGatewayRelayMarker + 2 + kGatewayRelayBytes;
    g.hasReport = true;
    g.sleepTime = Word(b, kGatewaySleepOffset);
    g.report.sleepTime = g.sleepTime;
    std::copy_n(b.begin() + kGatewayNodeOffset, kGatewayNodeBytes, g.report.nodes.begin());
    if (Has(b, kChannelAt + 1)) g.channel = b[kChannelAt];
    if (Has(b, kClimateAt + 4)) {
        g.temperature = Word(b, kClimateAt);
        g.humidity = Word(b, kClimateAt + 2);
    }
    if (Has(b, kRelayEnd) && b[kGatewayRelayMarker] == 0x55 && b[kGatewayRelayMarker + 1] == 0xAA) {
        const std::size_t at = kGatewayRelayMarker + 2;
        g.hasRelayBlock = true;
        g.report.relaySupport = b[at];
        g.report.relayMode = b[at + 1];
        g.report.relayChannel = b[at + 2];
        g.report.airRate = b[at + 3];
        g.relay = {b[at + 1], b[at + 2], b[at + 3]};
    }
}

void DescribeGateway(Bytes b, bool reply, FrameDescription& d) {
    GatewayFields& g = d.gateway;
    if (Has(b, 4)) g.command = b[3];
    if (Has(b, 5)) g.mode = b[4];
    d.kind = GatewayKind(g.command);
    // Requests carry data only when they set something (mode 1); replies always do.
    const bool data = reply || g.mode != 0;
    switch (d.kind) {
        case FrameKind::EnterConfigMode:
        case FrameKind::ConfigureNode:
        case FrameKind::ClearNode:
            if (reply && Has(b, kGatewayNodeOffset + kGatewayNodeBytes)) {
                DescribeGatewayReport(b, g);
            } else if (d.kind != FrameKind::EnterConfigMode && Has(b, 6)) {
                g.node = b[5] + 1;
            }
            break;
        case FrameKind::SleepTime:
            if (data && Has(b, 7)) g.sleepTime = Word(b, 5);
            break;
        case FrameKind::Channel:
            if (data && Has(b, 6)) g.channel = b[5];
            break;
        case FrameKind::ReadClimate:
            if (reply && Has(b, 9)) {
                g.temperature = Word(b, 5);
                g.humidity = Word(b, 7);
            }
            break;
        case FrameKind::RelayParameters:
            if (data && Has(b, 8)) g.relay = {b[5], b[6], b[7]};
            break;
        default:
            break;
    }
}

FrameDescription Describe(Bytes b, Bytes request, bool reply) {
    FrameDescription d;
    d.direction = reply ? Direction::Reply : Direction::Request;
    d.length = b.size();
    d.crcOk = Crc(b);
    switch (FamilyOf(b)) {
        case Family::None:
            d.kind = b.empty() ? FrameKind::None : FrameKind::Unknown;
            break;
        case Family::Modbus:
            DescribeModbus(b, request, reply, d);
            break;
        case Family::Address:
            DescribeAddressFrame(b, reply, d);
            break;
        case Family::Parameter:
            DescribeParameter(b, reply, d);
            break;
        case Family::Gateway:
            DescribeGateway(b, reply, d);
            break;
    }
    return d;
}

constexpr std::array<std::pair<Verdict, const char*>, 14> kVerdictNames = {{
    {Verdict::None, "none"},
    {Verdict::Ok, "ok"},
    {Verdict::NoReply, "no-reply"},
    {Verdict::CrcError, "crc-error"},
    {Verdict::WrongAddress, "wrong-address"},
    {Verdict::WrongFunction, "wrong-function"},
    {Verdict::Exception, "exception"},
    {Verdict::EchoMismatch, "echo-mismatch"},
    {Verdict::TooShort, "too-short"},
    {Verdict::TooLong, "too-long"},
    {Verdict::Echo, "echo"},
    {Verdict::Discarded, "discarded"},
    {Verdict::Unjudged, "unjudged"},
    {Verdict::NotSent, "not-sent"},
}};

}  // namespace

bool IsKnownExceptionCode(ExceptionCode code) {
    const auto n = static_cast<unsigned>(code);
    return (n >= 1 && n <= 8) || n == 10 || n == 11;
}

Verdict JudgeReply(Bytes request, Bytes reply, const ReplyContext& context) {
    const Rule rule = RuleOf(request);
    if (reply.empty()) return Verdict::NoReply;
    Verdict v = Verdict::Unjudged;
    switch (rule) {
        case Rule::None:
            return Verdict::Unjudged;
        case Rule::ReadRegisters:
            v = JudgeRead(request, reply, context);
            break;
        case Rule::WriteRegister:
            v = JudgeWrite(request, reply);
            break;
        case Rule::WriteRegisters:
        case Rule::CommBlockWrite:
            v = JudgeWriteMultiple(request, reply, rule == Rule::CommBlockWrite, context);
            break;
        case Rule::CommBlockRead:
            v = JudgeCommBlockRead(reply);
            break;
        case Rule::AddressFrame:
            v = JudgeAddressFrame(request, reply);
            break;
        case Rule::ParameterRead:
        case Rule::ParameterWrite:
            v = JudgeParameter(request, reply, rule == Rule::ParameterWrite, context);
            break;
        case Rule::Gateway:
            v = JudgeGateway(request, reply);
            break;
    }
    // Whatever else is wrong with it, a refused reply that starts with the request is the
    // line handing the program its own bytes.
    if (v != Verdict::Ok && StartsWith(reply, request)) return Verdict::Echo;
    return v;
}

FrameDescription DescribeRequest(Bytes bytes) {
    return Describe(bytes, {}, false);
}

FrameDescription DescribeReply(Bytes bytes, Bytes request, const ReplyContext& context) {
    FrameDescription d = Describe(bytes, request, true);
    d.echoesRequest = StartsWith(bytes, request);
    d.verdict = JudgeReply(request, bytes, context);
    return d;
}

FrameDescription TrafficDecoder::Describe(const transport::TrafficRecord& record) {
    const Bytes bytes = record.Bytes();
    FrameDescription d;
    switch (record.event) {
        case transport::TrafficEvent::Written:
            d = DescribeRequest(bytes);
            request_.assign(bytes.begin(), bytes.end());
            requestSequence_ = record.sequence;
            break;
        case transport::TrafficEvent::Taken:
            d = DescribeReply(bytes, request_, context_);
            break;
        case transport::TrafficEvent::Discarded:
            d = DescribeReply(bytes, request_, context_);
            d.direction = Direction::Discarded;
            d.verdict = Verdict::Discarded;
            d.cause = record.cause;
            break;
        case transport::TrafficEvent::NoReply:
            d.direction = Direction::NoReply;
            d.verdict = Verdict::NoReply;
            d.waitedMs = record.waitedMs;
            break;
    }
    if (record.event != transport::TrafficEvent::Written) d.answers = requestSequence_;
    d.sequence = record.sequence;
    d.timeMs = record.timeMs;
    d.baud = record.baud;
    d.length = record.length;
    return d;
}

std::vector<FrameDescription> DescribeRecords(std::span<const transport::TrafficRecord> records,
                                              const ReplyContext& context) {
    TrafficDecoder decoder(context);
    std::vector<FrameDescription> out;
    out.reserve(records.size());
    for (const transport::TrafficRecord& r : records) out.push_back(decoder.Describe(r));
    return out;
}

const char* VerdictName(Verdict verdict) {
    for (const auto& [v, name] : kVerdictNames)
        if (v == verdict) return name;
    return "none";
}

std::optional<Verdict> VerdictFromName(std::string_view name) {
    for (const auto& [v, word] : kVerdictNames)
        if (name == word) return v;
    return std::nullopt;
}

}  // namespace protocol
