#pragma once
// Every frame both programs send or receive, taken apart: Modbus register frames (functions 3,
// 6 and 16, exception replies, the comm block at 0x0200), the address-less FD, FC and FB
// frames; and every reply judged against the request it answers. The traffic view, the
// command-line trace and the link diagnosis read the line through this. Pure functions over
// byte spans; each reads a frame only within its length. Values and enums only: the views name
// them in their own language.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "register_frames.h"
#include "traffic_tap.h"
#include "wireless_frames.h"

namespace protocol {

// What became of a reply, judged against its request: one set of statuses for the decoder,
// the clients' last exchange and the diagnosis.
enum class Verdict : std::uint8_t {
    None,           // nothing to judge: a request
    Ok,             // the reply the programs accept
    NoReply,        // nothing came back within the wait
    CrcError,       // the last two bytes are not the CRC of the others
    WrongAddress,   // from another address than the request allows
    WrongFunction,  // another function (Modbus), code (FD, FC) or command (FB), or another frame
    Exception,      // a Modbus exception reply (see ExceptionCode)
    EchoMismatch,   // a write's reply that does not say what was written
    TooShort,       // fewer bytes than the reply must hold
    TooLong,        // two whole frames back to back (a reply twice, two devices answering)
    Echo,           // the request's own bytes came back (an adapter hearing itself)
    Discarded,      // a burst the link dropped (see DiscardCause)
    Unjudged,       // a reply with no request of either program before it
    NotSent,        // nothing went out: the port was closed
};

// The exception code of a Modbus exception reply. Codes without a name keep their number.
enum class ExceptionCode : std::uint8_t {
    None = 0,
    IllegalFunction = 1,
    IllegalDataAddress = 2,
    IllegalDataValue = 3,
    ServerDeviceFailure = 4,
    Acknowledge = 5,
    ServerDeviceBusy = 6,
    NegativeAcknowledge = 7,
    MemoryParityError = 8,
    GatewayPathUnavailable = 10,
    GatewayTargetFailedToRespond = 11,
};

// False for a code Modbus gives no meaning.
bool IsKnownExceptionCode(ExceptionCode code);

enum class Direction : std::uint8_t {
    Request,    // written by the program
    Reply,      // a burst taken as the reply
    Discarded,  // a burst the link dropped
    NoReply,    // a wait that ended without a burst
};

enum class FrameKind : std::uint8_t {
    None,     // no bytes
    Unknown,  // bytes that are no frame of either program
    // Modbus RTU
    ReadRegisters,   // function 3
    WriteRegister,   // function 6
    WriteRegisters,  // function 16
    CommBlockRead,   // function 3 of the five comm block registers at 0x0200
    CommBlockWrite,  // function 16 of the five comm block registers
    Exception,       // the function byte with bit 7 set, and a code
    // FD FD FD: address and baud rate, whatever the device's address
    AddressQuery,   // code 0, address 0
    AddressSet,     // code 0, the new address
    BaudSet,        // the new rate's code, address 0
    AddressReport,  // the reply: the device's baud code and address
    // FC FC FC: the transmitter's parameters
    ParameterRead,
    ParameterWrite,
    // FB FB FB: the wireless gateway
    EnterConfigMode,
    ExitConfigMode,
    ConfigureNode,
    ClearNode,
    SleepTime,
    ReadClimate,
    Channel,
    RelayParameters,
    GatewayOther,  // a command the programs do not send
};

struct ParameterFields {
    std::uint8_t code = 0;
    std::uint8_t operation = 0;  // kConfigRead or kConfigWrite
    std::uint16_t value = 0;
    bool hasSecond = false;  // the 11-byte reply: a second value follows the first
    std::uint16_t second = 0;
};

struct GatewayFields {
    std::uint8_t command = 0;
    std::uint8_t mode = 0;          // 0 for the reads of sleep time, channel and relay parameters
    int node = 0;                   // configure or clear: the node address 1..200
    std::uint16_t sleepTime = 0;    // seconds: sleep time frames and the configuration report
    std::uint8_t channel = 0;       // channel frames and the configuration report
    std::uint16_t temperature = 0;  // climate reply and configuration report: tenths, signed
    std::uint16_t humidity = 0;     // tenths
    RelayParameters relay;          // relay frames, and the report's relay block
    bool hasReport = false;         // a configuration-mode report (enter, configure node)
    GatewayState report;            // its sleep time, node table and relay block
    bool hasRelayBlock = false;     // the report carries 55 AA and the relay block
};

struct FrameDescription {
    // Where the bytes were seen (from the traffic record; zero for bytes described alone).
    Direction direction = Direction::Request;
    std::uint64_t sequence = 0;
    std::int64_t timeMs = 0;
    std::uint32_t baud = 0;
    std::size_t length = 0;                                         // bytes on the line
    transport::DiscardCause cause = transport::DiscardCause::None;  // Discarded
    std::uint32_t waitedMs = 0;                                     // NoReply
    std::uint64_t answers = 0;  // replies, drops, give-ups: the sequence of the request before

    // What the bytes are. Fields a frame does not carry, or that lie beyond its received
    // length, stay zero.
    FrameKind kind = FrameKind::None;
    bool crcOk = false;  // the last two bytes are the CRC of the ones before them
    bool hasAddress = false;
    std::uint8_t address = 0;           // Modbus frames: the slave address
    std::uint8_t function = 0;          // Modbus: the function (an exception: the one refused)
    std::uint16_t reg = 0;              // first register (a read reply: its request's)
    std::uint16_t count = 0;            // number of registers
    std::vector<std::uint16_t> values;  // registers read (reply) or written (request)
    ExceptionCode exception = ExceptionCode::None;
    CommBlock commBlock;         // comm block read reply, comm block write request
    AddressInfo addressFrame;    // FD: the code (a query: 0) and the address
    ParameterFields parameter;   // FC
    GatewayFields gateway;       // FB
    bool echoesRequest = false;  // the bytes begin with the whole request they answer

    Verdict verdict = Verdict::None;
};

// What a program allows beyond the request's own rule.
struct ReplyContext {
    // A register reply may also come from this address (Quillet's broadcast mode: 0xFF or the
    // address the device reported; a comm block write: the device's address).
    std::optional<std::uint8_t> alsoFrom = std::nullopt;
    // A parameter write is confirmed only by the exact 9-byte echo (the light thresholds).
    bool exactEcho = false;
};

// The reply judged as the program that sent `request` judges it: Ok exactly when that
// program's reply check accepts it; otherwise the first thing wrong with it. An empty reply is
// NoReply; a request that is no frame of either program leaves the reply Unjudged.
Verdict JudgeReply(std::span<const std::uint8_t> request, std::span<const std::uint8_t> reply,
                   const ReplyContext& context = {});

FrameDescription DescribeRequest(std::span<const std::uint8_t> bytes);
// A reply taken apart, with what its request says about it (a read reply's register, the comm
// block behind a read of 0x0200) when `request` is given, and judged against it.
FrameDescription DescribeReply(std::span<const std::uint8_t> bytes,
                               std::span<const std::uint8_t> request = {},
                               const ReplyContext& context = {});

// Reads a record stream in order: each reply, drop and give-up is paired with the last
// request written before it. A stream that begins mid-exchange leaves its first replies
// Unjudged.
class TrafficDecoder {
  public:
    explicit TrafficDecoder(const ReplyContext& context = {}) : context_(context) {}
    FrameDescription Describe(const transport::TrafficRecord& record);

  private:
    ReplyContext context_;
    std::vector<std::uint8_t> request_;
    std::uint64_t requestSequence_ = 0;
};

std::vector<FrameDescription> DescribeRecords(std::span<const transport::TrafficRecord> records,
                                              const ReplyContext& context = {});

// Stable lower-case words for the verdicts ("ok", "no-reply", "crc-error", ...), for the
// command-line tool and logs; nullopt for a word that names none.
const char* VerdictName(Verdict verdict);
std::optional<Verdict> VerdictFromName(std::string_view name);

}  // namespace protocol
