#pragma once
// What is wrong with the line when no device answers the scan: the scan's own probes, then a
// listen at the rates the scan does not try, each probe one request/reply cycle of the link;
// the link's traffic records of each probe are read through the frame decoder and the whole
// comes down to one verdict with its details. Runs on the calling thread and blocks it, in
// at most kDiagnosisBound. No Qt, no words: the views name verdicts and steps.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "frame_decoder.h"
#include "serial_link.h"

namespace protocol {

enum class LinkVerdict : std::uint8_t {
    Ok,            // a device answers: its address, rate and how it is found
    Silent,        // nothing at any rate: power, A/B swapped, termination, the wrong port
    Echo,          // every request comes back unchanged: an adapter that echoes what it sends
    OtherRate,     // bytes come back only at a rate the scan does not try (say which)
    Garbled,       // bytes at a scanned rate, but broken frames: parity, noise, two devices
    OtherAddress,  // a reply from another address than the one asked
    Exception,     // the device refuses with a Modbus exception (and its code)
    Missing,       // the port is not there
    Busy,          // another program holds the port
    Denied,        // this user may not open the port (or it refuses to be set up)
};

// Every verdict, in order, and its stable lower-case word ("ok", "silent", "echo",
// "other-rate", "garbled", "other-address", "exception", "missing", "busy", "denied").
std::span<const LinkVerdict> LinkVerdicts();
const char* LinkVerdictName(LinkVerdict verdict);
std::optional<LinkVerdict> LinkVerdictFromName(std::string_view name);

// A port that would not open, as a verdict: no such device or host, a file that is no serial
// line, a refused or unanswered connection and anything else are Missing; a held line is Busy;
// no permission, or a line that refuses the rate, is Denied.
LinkVerdict VerdictForOpenError(transport::OpenError error);

// How a device is found: the FD frame, or the comm block at 0xFF or at 0x00.
enum class Addressing : std::uint8_t { Frame, Broadcast, Zero };
// "frame", "broadcast", "zero" (as devsim's --mode names them).
const char* AddressingName(Addressing mode);

enum class DiagnosisStep : std::uint8_t {
    Scan,    // a probe of the scan, at one of its rates
    Listen,  // the same probes at a rate the scan does not try
};

// Reported before each probe goes out.
struct DiagnosisProgress {
    DiagnosisStep step = DiagnosisStep::Scan;
    Addressing probe = Addressing::Frame;
    std::uint32_t baud = 0;
    int number = 0;  // 1 for the first probe
};

struct LinkDiagnosis {
    LinkVerdict verdict = LinkVerdict::Silent;
    // The rate the verdict speaks of: where the device answered (ok, and behind an echo),
    // where the bytes came (other-rate), where the echo, the broken reply, the other address or
    // the exception was first seen.
    std::uint32_t baud = 0;
    // The probe that found it; ok and behind an echo: the device's addressing mode.
    Addressing mode = Addressing::Frame;
    std::uint8_t address = 0;       // ok, behind an echo, other-rate: the address it reported
    std::uint8_t askedAddress = 0;  // other-address, exception: 0xFF or 0x00
    std::uint8_t replyAddress = 0;  // other-address: the address that answered
    // The decoder's verdict on the telling reply: garbled (CrcError, TooShort, ...), other-rate
    // (Ok when the scan would have taken it there), exception.
    Verdict reply = Verdict::None;
    ExceptionCode exception = ExceptionCode::None;
    bool late = false;              // ok: the reply came only after the wait had ended
    bool answerBehindEcho = false;  // echo: a device's reply followed the echo
    transport::OpenError openError = transport::OpenError::None;  // missing, busy, denied
    int probes = 0;                                               // requests written
    // The tap records of the diagnosis, for a view that shows its frames.
    std::uint64_t firstSequence = 0;
    std::uint64_t lastSequence = 0;
};

inline constexpr std::chrono::milliseconds kDiagnosisBound{10000};

using DiagnosisProgressFn = std::function<void(const DiagnosisProgress&)>;

// Probes the line on `port` through `link` (re-opened at each rate as the scan does) and says
// what is wrong. The probes: the FD query at 2400, 4800 and 9600, the comm block read at 0xFF
// and at 0x00 at 9600; then, when all of those got nothing back, the same three at 1200,
// 19200 and 38400 to hear whether anything answers there. It stops at the first device found,
// the first port that will not open, and the first rate that answers outside the scan. Every
// probe is also an echo check: a burst that begins with the request it follows. The port is
// left open at the last rate tried; the device address of the link is not changed.
LinkDiagnosis DiagnoseLink(transport::SerialLink& link, const std::string& port,
                           const DiagnosisProgressFn& progress = {});

}  // namespace protocol
