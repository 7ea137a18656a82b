#include "simulated_line.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "modbus_crc.h"

namespace sim {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
// Bytes that do not complete a request within this gap are dropped, so a device resyncs
// after noise or a request sent at a baud rate it does not listen to.
constexpr auto kResyncGap = milliseconds(20);

void FixCrc(Bytes& bytes) {
    if (bytes.size() < 2) return;
    const std::uint16_t crc = protocol::ModbusCrc16(bytes.data(), bytes.size() - 2);
    bytes[bytes.size() - 2] = static_cast<std::uint8_t>(crc & 0xFF);
    bytes[bytes.size() - 1] = static_cast<std::uint8_t>(crc >> 8);
}

}  // namespace

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
    faultCount_ = count;
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
    {
        std::lock_guard lock(mutex_);
        received_.push_back(request);
        // Still waiting to send a late reply, the device does not take the request.
        if (lateReply_) return;
        faulted = faultCount_ != 0 && !faults_.empty();
        if (faulted && faultCount_ > 0) --faultCount_;
    }
    // A device only understands a line set to its own baud rate.
    if (pty_.LineBaud() != device_->Baud()) return;
    Bytes reply = device_->Answer(request.data(), request.size());
    if (reply.empty()) return;
    FaultChoice fault;
    if (faulted) {
        std::lock_guard lock(mutex_);
        fault = DrawLocked();
    }
    Answer(fault, std::move(reply), now);
}

FaultChoice SimulatedLine::DrawLocked() {
    return faults_.empty() ? FaultChoice{} : faults_.front();
}

void SimulatedLine::Answer(const FaultChoice& fault, Bytes reply, Clock::time_point now) {
    const int param = fault.param;
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
            reply[0] ^= 0x01;
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
            const std::size_t keep = param > 0 ? static_cast<std::size_t>(param) : 3;
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
        case Fault::CloseLine:
            outbox_.clear();
            pty_.Close();
            return;
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
