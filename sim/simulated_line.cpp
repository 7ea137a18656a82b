#include "simulated_line.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "modbus_crc.h"

namespace sim {
namespace {

using Clock = std::chrono::steady_clock;
// Bytes that do not complete a request within this gap are dropped, so a device resyncs
// after noise or a request sent at a baud rate it does not listen to.
constexpr auto kResyncGap = std::chrono::milliseconds(20);

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
    fault_ = fault;
    faultCount_ = count;
    faultParam_ = param;
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
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
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
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 2) > 0 && (p.revents & POLLIN)) {
            std::uint8_t buffer[512];
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n > 0) {
                pending.insert(pending.end(), buffer, buffer + n);
                lastByte = Clock::now();
            }
        }
        const auto now = Clock::now();
        if (now - lastTick >= std::chrono::milliseconds(200)) {
            device_->Tick(std::chrono::duration<double>(now - start).count());
            lastTick = now;
        }
        while (!pending.empty()) {
            const std::size_t length = device_->RequestLength(pending.data(), pending.size());
            if (length == 0 || length > pending.size()) break;
            const Bytes request(pending.begin(), pending.begin() + static_cast<long>(length));
            pending.erase(pending.begin(), pending.begin() + static_cast<long>(length));
            Serve(request);
        }
        if (!pending.empty() && now - lastByte > kResyncGap) pending.clear();
    }
}

void SimulatedLine::Serve(const Bytes& request) {
    Fault fault;
    int param;
    {
        std::lock_guard lock(mutex_);
        received_.push_back(request);
        fault = faultCount_ != 0 ? fault_ : Fault::None;
        param = faultParam_;
        if (fault != Fault::None && faultCount_ > 0) --faultCount_;
    }
    // A device only understands a line set to its own baud rate.
    if (pty_.LineBaud() != device_->Baud()) return;
    Bytes reply = device_->Answer(request.data(), request.size());
    if (reply.empty()) return;
    switch (fault) {
        case Fault::None:
            Send(reply);
            break;
        case Fault::Silence:
            break;
        case Fault::BadCrc:
            reply.back() ^= 0x5A;
            Send(reply);
            break;
        case Fault::WrongAddress:
            reply[0] ^= 0x01;
            FixCrc(reply);
            Send(reply);
            break;
        case Fault::WrongFunction: {
            // The command byte of a marker frame, a value byte of an echo, ...
            const std::size_t at = param > 0 ? static_cast<std::size_t>(param) : 1;
            if (reply.size() > at) reply[at] ^= 0x01;
            FixCrc(reply);
            Send(reply);
            break;
        }
        case Fault::Truncate: {
            const std::size_t keep = param > 0 ? static_cast<std::size_t>(param)
                                               : (reply.size() > 3 ? reply.size() - 3 : 1);
            reply.resize(std::min(keep, reply.size()));
            Send(reply);
            break;
        }
        case Fault::ShortValid: {
            const std::size_t keep = param > 0 ? static_cast<std::size_t>(param) : 3;
            reply.resize(std::min(keep, reply.size()));
            reply.resize(reply.size() + 2);
            FixCrc(reply);
            Send(reply);
            break;
        }
        case Fault::SplitPause: {
            const std::size_t half = reply.size() / 2;
            Send(Bytes(reply.begin(), reply.begin() + static_cast<long>(half)));
            std::this_thread::sleep_for(std::chrono::milliseconds(param > 0 ? param : 80));
            Send(Bytes(reply.begin() + static_cast<long>(half), reply.end()));
            break;
        }
        case Fault::DoubleReply: {
            Bytes twice = reply;
            twice.insert(twice.end(), reply.begin(), reply.end());
            Send(twice);
            break;
        }
        case Fault::LeadingNoise: {
            Bytes noisy(static_cast<std::size_t>(param > 0 ? param : 2), 0x55);
            noisy.insert(noisy.end(), reply.begin(), reply.end());
            Send(noisy);
            break;
        }
        case Fault::Delay:
            std::this_thread::sleep_for(std::chrono::milliseconds(param));
            Send(reply);
            break;
        case Fault::CloseLine:
            pty_.Close();
            return;
    }
    device_->AfterReply();
}

}  // namespace sim
