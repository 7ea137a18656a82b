#include "simulated_line.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>

#include "modbus_crc.h"
#include "register_device.h"

namespace sim {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
// Bytes that do not complete a request within this gap are dropped, so a device resyncs
// after noise or a request sent at a baud rate it does not listen to.
constexpr auto kResyncGap = milliseconds(20);
constexpr int kMaxFaultMs = 60000;
// Between an echo and the reply behind it: longer than the silence that ends a burst, so the
// master hears two.
constexpr auto kEchoPause = milliseconds(80);

constexpr FaultName kFaultNames[] = {
    {"silent", Fault::Silence, false, "no reply"},
    {"badcrc", Fault::BadCrc, false, "the last CRC byte changed"},
    {"short", Fault::ShortValid, false,
     "address and function only (FD/FC/FB: the markers and one byte), with a valid CRC"},
    {"wrongaddr", Fault::WrongAddress, false,
     "address byte changed (FD/FC/FB: the byte after the markers), CRC fixed"},
    {"double", Fault::DoubleReply, false, "the reply twice, back to back"},
    {"noise", Fault::LeadingNoise, false, "two noise bytes before the reply"},
    {"split", Fault::SplitPause, true, "the first half, a pause of MS ms, then the rest"},
    {"late", Fault::Late, true,
     "the reply MS ms after the request; requests arriving meanwhile get no reply"},
    {"badecho", Fault::BadEcho, false,
     "the last byte before the CRC (a write echo's value) changed, CRC fixed"},
    {"exception", Fault::Exception, false,
     "Modbus exception 02 (address, function | 0x80, 02) instead; FD/FC/FB: no reply"},
    {"echo", Fault::Echo, false,
     "the request sent back at once (an adapter hearing itself), at any rate; the reply 80 ms "
     "later"},
};

void FixCrc(Bytes& bytes) {
    if (bytes.size() < 2) return;
    const std::uint16_t crc = protocol::ModbusCrc16(bytes.data(), bytes.size() - 2);
    bytes[bytes.size() - 2] = static_cast<std::uint8_t>(crc & 0xFF);
    bytes[bytes.size() - 1] = static_cast<std::uint8_t>(crc >> 8);
}

// FD, FC and FB replies carry no address: three markers, then a code or command byte.
bool IsMarkerFrame(const Bytes& bytes) {
    return bytes.size() >= 4 && (bytes[0] == 0xFD || bytes[0] == 0xFC || bytes[0] == 0xFB) &&
           bytes[1] == bytes[0] && bytes[2] == bytes[0];
}

}  // namespace

std::span<const FaultName> FaultNames() {
    return kFaultNames;
}

std::optional<std::vector<FaultChoice>> ParseFaultList(std::string_view list, std::string* error) {
    auto fail = [error](std::string why) -> std::optional<std::vector<FaultChoice>> {
        if (error) *error = std::move(why);
        return std::nullopt;
    };
    std::vector<FaultChoice> faults;
    for (std::size_t from = 0; from <= list.size();) {
        const std::size_t comma = std::min(list.find(',', from), list.size());
        const std::string_view item = list.substr(from, comma - from);
        from = comma + 1;
        const std::size_t colon = item.find(':');
        const std::string name(item.substr(0, colon));
        const auto known =
            std::ranges::find_if(kFaultNames, [&](const FaultName& f) { return name == f.name; });
        if (item.empty()) return fail("empty item in the fault list");
        if (known == std::end(kFaultNames)) return fail("unknown fault '" + name + "'");
        FaultChoice choice{known->fault, 0};
        if (known->takesMs) {
            const std::string_view ms =
                colon == std::string_view::npos ? "" : item.substr(colon + 1);
            const auto [end, ec] = std::from_chars(ms.data(), ms.data() + ms.size(), choice.param);
            if (ms.empty() || ec != std::errc() || end != ms.data() + ms.size() ||
                choice.param < 1 || choice.param > kMaxFaultMs)
                return fail(name + " takes :MS, 1.." + std::to_string(kMaxFaultMs) +
                            " milliseconds");
        } else if (colon != std::string_view::npos) {
            return fail(name + " takes no value");
        }
        faults.push_back(choice);
    }
    return faults;
}

SimulatedLine::SimulatedLine(std::shared_ptr<Device> device) : device_(std::move(device)) {
    if (pty_.Ok()) thread_ = std::thread([this] { Run(); });
}

SimulatedLine::~SimulatedLine() {
    stop_.store(true);
    if (thread_.joinable()) thread_.join();
}

void SimulatedLine::SetFault(Fault fault, int count, int param) {
    std::lock_guard lock(mutex_);
    faults_.clear();
    if (fault != Fault::None) faults_.push_back({fault, param});
    faultRate_ = 1.0;
    faultCount_ = count;
}

void SimulatedLine::SetFaultPlan(const FaultPlan& plan) {
    std::lock_guard lock(mutex_);
    faults_ = plan.faults;
    faultRate_ = plan.rate;
    faultCount_ = -1;
    random_.seed(plan.seed);
}

std::vector<Bytes> SimulatedLine::Received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

void SimulatedLine::ClearReceived() {
    std::lock_guard lock(mutex_);
    received_.clear();
}

void SimulatedLine::Inject(const Bytes& bytes) {
    Send(bytes);
}

void SimulatedLine::Send(const Bytes& bytes) {
    const int fd = pty_.MasterFd();
    std::size_t done = 0;
    while (fd >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return;
        } else {
            std::this_thread::sleep_for(milliseconds(1));
        }
    }
}

void SimulatedLine::Run() {
    Bytes pending;
    auto lastByte = Clock::now();
    const auto start = Clock::now();
    auto lastTick = start - std::chrono::seconds(1);
    while (!stop_.load()) {
        const int fd = pty_.MasterFd();
        if (fd < 0) {
            outbox_.clear();
            lateReply_ = false;
            std::this_thread::sleep_for(milliseconds(5));
            continue;
        }
        // Wake for the next piece of a reply that waits for its time.
        int wait = 2;
        if (!outbox_.empty()) {
            const auto left =
                std::chrono::ceil<milliseconds>(outbox_.front().at - Clock::now()).count();
            wait = static_cast<int>(std::clamp<decltype(left)>(left, 0, wait));
        }
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, wait) > 0 && (p.revents & POLLIN)) {
            std::uint8_t buffer[512];
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n > 0) {
                pending.insert(pending.end(), buffer, buffer + n);
                lastByte = Clock::now();
            }
        }
        const auto now = Clock::now();
        if (now - lastTick >= milliseconds(200)) {
            device_->Tick(std::chrono::duration<double>(now - start).count());
            lastTick = now;
        }
        Flush(now);
        // While a reply is split or delayed the device reads on but takes the next request
        // only after it; while a late reply waits, requests are taken and ignored.
        while (!pending.empty() && AcceptsRequests()) {
            const std::size_t length = device_->RequestLength(pending.data(), pending.size());
            if (length == 0 || length > pending.size()) break;
            const Bytes request(pending.begin(), pending.begin() + static_cast<long>(length));
            pending.erase(pending.begin(), pending.begin() + static_cast<long>(length));
            Serve(request, now);
            Flush(now);
        }
        if (!pending.empty() && AcceptsRequests() && now - lastByte > kResyncGap) pending.clear();
    }
}

void SimulatedLine::Serve(const Bytes& request, Clock::time_point now) {
    bool faulted;
    bool echoes;
    {
        std::lock_guard lock(mutex_);
        received_.push_back(request);
        // Still waiting to send a late reply, the device does not take the request.
        if (lateReply_) return;
        faulted = faultCount_ != 0 && !faults_.empty();
        if (faulted && faultCount_ > 0) --faultCount_;
        echoes = std::ranges::any_of(faults_,
                                     [](const FaultChoice& f) { return f.fault == Fault::Echo; });
    }
    // A device only understands a line set to its own baud rate.
    Bytes reply;
    if (pty_.LineBaud() == device_->Baud()) reply = device_->Answer(request.data(), request.size());
    // The adapter's echo needs no device: a request nobody answers may be echoed too.
    if (reply.empty() && !(faulted && echoes)) return;
    FaultChoice fault;
    if (faulted) {
        std::lock_guard lock(mutex_);
        fault = DrawLocked();
    }
    if (fault.fault == Fault::Echo) {
        Send(request);
        if (!reply.empty())
            Queue(now + (fault.param > 0 ? milliseconds(fault.param) : kEchoPause),
                  std::move(reply));
        return;
    }
    if (reply.empty()) return;
    Answer(fault, std::move(reply), now);
}

FaultChoice SimulatedLine::DrawLocked() {
    if (faults_.empty()) return {};
    // Numbers taken straight from the generator, so a seed gives the same faults with any
    // standard library.
    if (faultRate_ < 1.0 && static_cast<double>(random_() >> 11) * 0x1.0p-53 >= faultRate_)
        return {};
    if (faults_.size() == 1) return faults_.front();
    return faults_[random_() % faults_.size()];
}

void SimulatedLine::Answer(const FaultChoice& fault, Bytes reply, Clock::time_point now) {
    const int param = fault.param;
    const bool marker = IsMarkerFrame(reply);
    switch (fault.fault) {
        case Fault::None:
            break;
        case Fault::Silence:
            reply.clear();
            break;
        case Fault::BadCrc:
            reply.back() ^= 0x5A;
            break;
        case Fault::WrongAddress:
            reply[marker ? 3 : 0] ^= 0x01;
            FixCrc(reply);
            break;
        case Fault::WrongFunction: {
            // The command byte of a marker frame, a value byte of an echo, ...
            const std::size_t at = param > 0 ? static_cast<std::size_t>(param) : 1;
            if (reply.size() > at) reply[at] ^= 0x01;
            FixCrc(reply);
            break;
        }
        case Fault::Truncate: {
            const std::size_t keep = param > 0 ? static_cast<std::size_t>(param)
                                               : (reply.size() > 3 ? reply.size() - 3 : 1);
            reply.resize(std::min(keep, reply.size()));
            break;
        }
        case Fault::ShortValid: {
            const std::size_t keep = param > 0 ? static_cast<std::size_t>(param) : marker ? 4 : 2;
            reply.resize(std::min(keep, reply.size()) + 2);
            FixCrc(reply);
            break;
        }
        case Fault::SplitPause: {
            const auto half = static_cast<long>(reply.size() / 2);
            Queue(now, Bytes(reply.begin(), reply.begin() + half), false);
            Queue(now + milliseconds(param > 0 ? param : 80),
                  Bytes(reply.begin() + half, reply.end()));
            return;
        }
        case Fault::DoubleReply: {
            const Bytes once = reply;
            reply.insert(reply.end(), once.begin(), once.end());
            break;
        }
        case Fault::LeadingNoise:
            reply.insert(reply.begin(), static_cast<std::size_t>(param > 0 ? param : 2), 0x55);
            break;
        case Fault::Delay:
            Queue(now + milliseconds(param), std::move(reply));
            return;
        case Fault::Late:
            Queue(now + milliseconds(param), std::move(reply));
            lateReply_ = true;
            return;
        case Fault::BadEcho:
            if (reply.size() >= 3) reply[reply.size() - 3] ^= 0x01;
            FixCrc(reply);
            break;
        case Fault::Exception:
            // Marker frames have no exception reply.
            reply = marker ? Bytes{} : ExceptionReply(reply[0], reply[1], 0x02);
            break;
        case Fault::CloseLine:
            outbox_.clear();
            pty_.Close();
            return;
        case Fault::Echo:  // sent by Serve, which knows the request
            break;
    }
    Queue(now, std::move(reply));
}

void SimulatedLine::Queue(Clock::time_point at, Bytes bytes, bool last) {
    outbox_.push_back({at, std::move(bytes), last});
}

void SimulatedLine::Flush(Clock::time_point now) {
    while (!outbox_.empty() && outbox_.front().at <= now) {
        const Outgoing out = std::move(outbox_.front());
        outbox_.pop_front();
        Send(out.bytes);
        if (out.last) {
            lateReply_ = false;
            device_->AfterReply();
        }
    }
}

}  // namespace sim
