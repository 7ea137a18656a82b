#include "trace.h"

#include <span>

namespace cli {
namespace {

const char* KindName(protocol::FrameKind kind) {
    using K = protocol::FrameKind;
    switch (kind) {
        case K::None:
            return "none";
        case K::Unknown:
            return "unknown";
        case K::ReadRegisters:
            return "read-registers";
        case K::WriteRegister:
            return "write-register";
        case K::WriteRegisters:
            return "write-registers";
        case K::CommBlockRead:
            return "comm-block-read";
        case K::CommBlockWrite:
            return "comm-block-write";
        case K::Exception:
            return "exception";
        case K::AddressQuery:
            return "address-query";
        case K::AddressSet:
            return "address-set";
        case K::BaudSet:
            return "baud-set";
        case K::AddressReport:
            return "address-report";
        case K::ParameterRead:
            return "parameter-read";
        case K::ParameterWrite:
            return "parameter-write";
        default:
            return "gateway";
    }
}

const char* CauseName(transport::DiscardCause cause) {
    switch (cause) {
        case transport::DiscardCause::Stale:
            return "stale";
        case transport::DiscardCause::Late:
            return "late";
        case transport::DiscardCause::Reopen:
            return "reopen";
        case transport::DiscardCause::Short:
            return "short";
        case transport::DiscardCause::None:
            break;
    }
    return "dropped";
}

std::string Hex(std::span<const std::uint8_t> bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (std::uint8_t b : bytes) {
        if (!out.empty()) out += ' ';
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

}  // namespace

std::string TraceLine(const protocol::FrameDescription& d, std::span<const std::uint8_t> bytes) {
    std::string line = "trace: " + std::to_string(d.baud) + " ";
    switch (d.direction) {
        case protocol::Direction::Request:
            line += "-> ";
            break;
        case protocol::Direction::Reply:
            line += "<- ";
            break;
        case protocol::Direction::Discarded:
            line += "xx ";
            break;
        case protocol::Direction::NoReply:
            return line + ".. no-reply after " + std::to_string(d.waitedMs) + " ms";
    }
    line += Hex(bytes);
    line += "  ";
    line += KindName(d.kind);
    if (d.hasAddress) line += " address " + std::to_string(d.address);
    if (d.kind == protocol::FrameKind::ReadRegisters ||
        d.kind == protocol::FrameKind::WriteRegister ||
        d.kind == protocol::FrameKind::WriteRegisters)
        line += " register " + std::to_string(d.reg) + " count " + std::to_string(d.count);
    if (d.direction == protocol::Direction::Discarded)
        line += std::string(" discarded (") + CauseName(d.cause) + ")";
    else if (d.verdict != protocol::Verdict::None)
        line += std::string(" ") + protocol::VerdictName(d.verdict);
    return line;
}

void Tracer::Flush() {
    if (!on_) return;
    for (const transport::TrafficRecord& r : link_.Tap().Since(last_)) {
        last_ = r.sequence;
        std::fprintf(out_, "%s\n", TraceLine(decoder_.Describe(r), r.Bytes()).c_str());
    }
    std::fflush(out_);
}

}  // namespace cli
