#include "link_diagnosis.h"

#include <array>
#include <thread>
#include <vector>

namespace protocol {
namespace {

using Clock = std::chrono::steady_clock;
using transport::TrafficEvent;
using transport::TrafficRecord;

struct Probe {
    DiagnosisStep step;
    Addressing kind;
    std::uint32_t baud;
};

// The scan's probes in the scan's order, then the rates it never tries.
constexpr Probe kScanProbes[] = {
    {DiagnosisStep::Scan, Addressing::Frame, 2400},
    {DiagnosisStep::Scan, Addressing::Frame, 4800},
    {DiagnosisStep::Scan, Addressing::Frame, 9600},
    {DiagnosisStep::Scan, Addressing::Broadcast, 9600},
    {DiagnosisStep::Scan, Addressing::Zero, 9600},
};
// A server that keeps its line's rate (raw TCP): each probe once at that rate, which the
// program does not know (0), and no listen at other rates, which it cannot set.
constexpr Probe kFixedRateProbes[] = {
    {DiagnosisStep::Scan, Addressing::Frame, 0},
    {DiagnosisStep::Scan, Addressing::Broadcast, 0},
    {DiagnosisStep::Scan, Addressing::Zero, 0},
};
constexpr std::uint32_t kListenRates[] = {1200, 19200, 38400};
constexpr Addressing kListenProbes[] = {Addressing::Frame, Addressing::Broadcast, Addressing::Zero};

// The longest one probe takes: the wait, the link's guard against a late reply and the
// silence it then waits for, and a re-open.
constexpr auto kProbeBudget = std::chrono::milliseconds(
    transport::kRegisterWait.polls * transport::kRegisterWait.intervalMs + 400);

constexpr std::array<std::pair<LinkVerdict, const char*>, 10> kNames = {{
    {LinkVerdict::Ok, "ok"},
    {LinkVerdict::Silent, "silent"},
    {LinkVerdict::Echo, "echo"},
    {LinkVerdict::OtherRate, "other-rate"},
    {LinkVerdict::Garbled, "garbled"},
    {LinkVerdict::OtherAddress, "other-address"},
    {LinkVerdict::Exception, "exception"},
    {LinkVerdict::Missing, "missing"},
    {LinkVerdict::Busy, "busy"},
    {LinkVerdict::Denied, "denied"},
}};
constexpr std::array<LinkVerdict, kNames.size()> kVerdicts = [] {
    std::array<LinkVerdict, kNames.size()> out{};
    for (std::size_t i = 0; i < kNames.size(); ++i) out[i] = kNames[i].first;
    return out;
}();

std::uint8_t AskedAddress(Addressing kind) {
    return kind == Addressing::Zero ? kZeroAddress : kBroadcastAddress;
}

Frame RequestOf(Addressing kind) {
    return kind == Addressing::Frame ? BuildAddressFrame(0, 0)
                                     : BuildCommBlockRead(AskedAddress(kind));
}

// What one probe's records showed: from its request to the next probe's request, so that
// bytes dropped late, at a re-open or as stale before the next request count for this one.
struct Outcome {
    Probe probe{};
    bool bytes = false;       // any burst came back
    bool echo = false;        // a burst began with the request
    bool accepted = false;    // the burst taken as the reply passed the scan's check
    bool late = false;        // a burst the check would pass, dropped after the wait
    bool behindEcho = false;  // a burst the check would pass after the echo
    FrameDescription answer;  // the burst that passed the check
    bool broken = false;      // a burst that is neither the echo nor passes the check
    FrameDescription first;   // the first such burst
};

// A comm block reply the scan takes from any address; the pages then address 0xFF or 0x00
// and would hear nothing, so only a reply from the address asked counts as found.
bool FromAskedAddress(const Outcome& o) {
    return o.probe.kind == Addressing::Frame || o.answer.address == AskedAddress(o.probe.kind);
}

void Judge(Outcome& o, const Frame& request, const TrafficRecord& record) {
    const std::span<const std::uint8_t> bytes = record.Bytes();
    const std::span<const std::uint8_t> asked(request.data(), request.size);
    o.bytes = true;
    const bool taken = record.event == TrafficEvent::Taken;
    const FrameDescription d = DescribeReply(bytes, asked);
    if (d.echoesRequest) {
        o.echo = true;
        // Echo and reply in one burst: what follows the echo is the device's.
        const FrameDescription rest = DescribeReply(bytes.subspan(request.size), asked);
        if (rest.verdict == Verdict::Ok) {
            o.behindEcho = true;
            o.answer = rest;
        }
        return;
    }
    if (d.verdict == Verdict::Ok) {
        o.answer = d;
        if (taken)
            o.accepted = true;
        else if (o.echo)
            o.behindEcho = true;
        else
            o.late = true;
        return;
    }
    if (!o.broken) {
        o.broken = true;
        o.first = d;
    }
}

class Diagnosis {
  public:
    Diagnosis(transport::SerialLink& link, const std::string& port,
              const DiagnosisProgressFn& progress)
        : link_(link),
          port_(port),
          progress_(progress),
          start_(Clock::now()),
          fixedRate_(transport::SerialPort::FixedRate(port)) {
        result_.firstSequence = link_.Tap().LastSequence() + 1;
    }

    LinkDiagnosis Run() {
        if (!Scan() && (fixedRate_ || !Listen())) result_.verdict = LinkVerdict::Silent;
        result_.lastSequence = link_.Tap().LastSequence();
        return result_;
    }

  private:
    // The scan's probes; true once the verdict is known.
    bool Scan() {
        for (const Probe& p : fixedRate_ ? std::span<const Probe>(kFixedRateProbes)
                                         : std::span<const Probe>(kScanProbes))
            if (Send(p)) return true;
        const std::vector<Outcome> outcomes = Outcomes();
        bool bytes = false;
        bool echoOnly = true;
        for (const Outcome& o : outcomes) {
            bytes |= o.bytes;
            if (o.bytes && !o.echo) echoOnly = false;
        }
        if (!bytes) return false;
        for (const Outcome& o : outcomes)
            if (o.late && FromAskedAddress(o)) return Found(o);
        if (echoOnly) return Echoed(outcomes);
        for (const Outcome& o : outcomes)
            if (o.broken && o.first.verdict == Verdict::Exception) {
                Conclude(LinkVerdict::Exception, o);
                result_.askedAddress = AskedAddress(o.probe.kind);
                result_.exception = o.first.exception;
                result_.reply = Verdict::Exception;
                return true;
            }
        for (const Outcome& o : outcomes)
            if ((o.accepted || o.late) && !FromAskedAddress(o)) {
                Conclude(LinkVerdict::OtherAddress, o);
                result_.askedAddress = AskedAddress(o.probe.kind);
                result_.replyAddress = o.answer.address;
                result_.reply = Verdict::WrongAddress;
                return true;
            }
        for (const Outcome& o : outcomes)
            if (o.broken) {
                Conclude(LinkVerdict::Garbled, o);
                result_.reply = o.first.verdict;
                return true;
            }
        result_.verdict = LinkVerdict::Garbled;
        return true;
    }

    // The rates the scan never tries: any byte there names the rate.
    bool Listen() {
        for (std::uint32_t baud : kListenRates)
            for (Addressing kind : kListenProbes) {
                if (Clock::now() + kProbeBudget > start_ + kDiagnosisBound) return false;
                if (Send({DiagnosisStep::Listen, kind, baud})) return true;
                if (!link_.LastExchangeSilent()) return Heard();
            }
        return Heard();
    }

    bool Heard() {
        for (const Outcome& o : Outcomes()) {
            if (!o.bytes || o.probe.step != DiagnosisStep::Listen) continue;
            Conclude(LinkVerdict::OtherRate, o);
            const bool answered = o.accepted || o.late || o.behindEcho;
            result_.reply = answered ? Verdict::Ok : o.broken ? o.first.verdict : Verdict::Echo;
            if (answered) result_.address = ReportedAddress(o);
            return true;
        }
        return false;
    }

    // One probe; true when it ends the diagnosis (a port that will not open, a device found).
    bool Send(const Probe& p) {
        // A new rate needs a re-open; so does the same rate after silence, which spares the
        // link's wait for a late reply that is not coming. After bytes, the link's own wait
        // (same rate) or a pause before the re-open lets late bytes land in this probe's
        // records.
        // A fixed-rate line is connected once (again only if it was lost).
        const bool reopen = probes_ == 0 || !link_.IsOpen() ||
                            (!fixedRate_ && (openBaud_ != p.baud || link_.LastExchangeSilent()));
        if (reopen) {
            if (probes_ > 0 && !link_.LastExchangeSilent())
                std::this_thread::sleep_for(transport::SerialLink::kLateReplyGuard);
            if (!link_.Reopen(port_, p.baud)) {
                result_.openError = link_.Port().LastOpenError();
                result_.verdict = VerdictForOpenError(result_.openError);
                return true;
            }
            openBaud_ = p.baud;
        }
        ++probes_;
        result_.probes = probes_;
        if (progress_) progress_({p.step, p.kind, p.baud, probes_});
        sent_.push_back(p);
        const Frame request = RequestOf(p.kind);
        std::uint8_t reply[transport::SerialLink::kReplySize];
        const std::size_t n = link_.Exchange(request.data(), request.size, reply, sizeof reply);
        if (n == 0) return false;
        const FrameDescription d =
            DescribeReply({reply, n}, {request.data(), request.size}, ReplyContext{});
        if (d.verdict != Verdict::Ok) return false;
        link_.ReplyAccepted();
        Outcome o;
        o.probe = p;
        o.accepted = true;
        o.answer = d;
        if (p.step == DiagnosisStep::Scan && FromAskedAddress(o)) return Found(o);
        return false;
    }

    // The probes' records, one window per request written since the diagnosis began.
    std::vector<Outcome> Outcomes() const {
        std::vector<Outcome> out;
        for (const TrafficRecord& r : link_.Tap().Since(result_.firstSequence - 1)) {
            if (r.event == TrafficEvent::Written) {
                if (out.size() == sent_.size()) break;
                out.push_back({});
                out.back().probe = sent_[out.size() - 1];
                continue;
            }
            if (out.empty()) continue;  // from before the first probe
            if (r.event == TrafficEvent::Taken || r.event == TrafficEvent::Discarded) {
                const Frame request = RequestOf(out.back().probe.kind);
                Judge(out.back(), request, r);
            }
        }
        return out;
    }

    static std::uint8_t ReportedAddress(const Outcome& o) {
        return o.probe.kind == Addressing::Frame ? o.answer.addressFrame.address
                                                 : o.answer.commBlock.address;
    }

    void Conclude(LinkVerdict verdict, const Outcome& o) {
        result_.verdict = verdict;
        result_.baud = o.probe.baud;
        result_.mode = o.probe.kind;
    }

    bool Found(const Outcome& o) {
        Conclude(LinkVerdict::Ok, o);
        result_.address = ReportedAddress(o);
        result_.late = !o.accepted;
        result_.reply = Verdict::Ok;
        return true;
    }

    bool Echoed(const std::vector<Outcome>& outcomes) {
        for (const Outcome& o : outcomes)
            if (o.behindEcho && FromAskedAddress(o)) {
                Conclude(LinkVerdict::Echo, o);
                result_.answerBehindEcho = true;
                result_.address = ReportedAddress(o);
                result_.reply = Verdict::Echo;
                return true;
            }
        for (const Outcome& o : outcomes)
            if (o.echo) {
                Conclude(LinkVerdict::Echo, o);
                result_.reply = Verdict::Echo;
                return true;
            }
        return false;
    }

    transport::SerialLink& link_;
    const std::string& port_;
    const DiagnosisProgressFn& progress_;
    const Clock::time_point start_;
    const bool fixedRate_;  // the port's rate is the server's
    std::uint32_t openBaud_ = 0;
    int probes_ = 0;
    std::vector<Probe> sent_;
    LinkDiagnosis result_;
};

}  // namespace

std::span<const LinkVerdict> LinkVerdicts() {
    return kVerdicts;
}

const char* LinkVerdictName(LinkVerdict verdict) {
    for (const auto& [v, name] : kNames)
        if (v == verdict) return name;
    return "silent";
}

std::optional<LinkVerdict> LinkVerdictFromName(std::string_view name) {
    for (const auto& [v, word] : kNames)
        if (name == word) return v;
    return std::nullopt;
}

LinkVerdict VerdictForOpenError(transport::OpenError error) {
    using transport::OpenError;
    switch (error) {
        case OpenError::Busy:
            return LinkVerdict::Busy;
        case OpenError::Denied:
        case OpenError::NotInGroup:
        case OpenError::BadSettings:
            return LinkVerdict::Denied;
        case OpenError::None:
        case OpenError::Missing:
        case OpenError::NotSerial:
        case OpenError::Refused:
        case OpenError::NoAnswer:
        case OpenError::Other:
            break;
    }
    return LinkVerdict::Missing;
}

const char* AddressingName(Addressing mode) {
    switch (mode) {
        case Addressing::Frame:
            return "frame";
        case Addressing::Broadcast:
            return "broadcast";
        case Addressing::Zero:
            return "zero";
    }
    return "frame";
}

LinkDiagnosis DiagnoseLink(transport::SerialLink& link, const std::string& port,
                           const DiagnosisProgressFn& progress) {
    return Diagnosis(link, port, progress).Run();
}

}  // namespace protocol
