#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "posix_baud.h"
#include "serial_port.h"

namespace transport {
namespace {

// Errors that mean the line itself is gone (a USB adapter pulled, a pseudo-terminal whose
// other end closed), not that it is merely busy.
bool LineGone(int error) {
    return error == EIO || error == ENXIO || error == ENODEV || error == EPIPE;
}

}  // namespace

bool SerialPort::IsSupportedBaud(std::uint32_t baud) {
    speed_t s;
    return SpeedFor(baud, &s);
}

SerialPort::SerialPort() : wake_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

SerialPort::~SerialPort() {
    Close();
    if (wake_ >= 0) ::close(wake_);
}

void SerialPort::Wake() {
    const std::uint64_t one = 1;
    if (wake_ >= 0) [[maybe_unused]]
        auto n = ::write(wake_, &one, sizeof one);
}

void SerialPort::WaitForInput(int timeoutMs) {
    // The descriptor may be closed by the UI thread while we wait; Close wakes us first, and a
    // hang-up is only acted on for the descriptor that is still the open one.
    const int fd = fd_.load();
    pollfd p[2] = {{wake_, POLLIN, 0}, {fd, POLLIN, 0}};
    const nfds_t count = fd >= 0 ? 2 : 1;
    if (::poll(p, count, timeoutMs) <= 0) return;
    std::uint64_t drained;
    if (p[0].revents & POLLIN) [[maybe_unused]]
        auto n = ::read(wake_, &drained, sizeof drained);
    if (count == 2 && (p[1].revents & (POLLHUP | POLLERR))) {
        std::lock_guard lock(mutex_);
        if (fd_.load() == fd) LoseLocked();
    }
}

void SerialPort::SetParams(const std::string& path, std::uint8_t byteSize, std::uint8_t parity,
                           std::uint8_t stopBits, std::uint32_t baud) {
    path_ = path;
    byteSize_ = byteSize;
    parity_ = parity;
    stopBits_ = stopBits;
    baud_ = baud;
}

int SerialPort::Open() {
    std::lock_guard lock(mutex_);
    CloseLocked();
    speed_t speed;
    if (path_.empty() || !SpeedFor(baud_, &speed)) {
        return 0;
    }
    const int fd = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {  // not a terminal
        ::close(fd);
        return 0;
    }
    // Claim the line for this program alone; another program sharing it would steal replies.
    if (::ioctl(fd, TIOCEXCL) != 0) {
        ::close(fd);
        return 0;
    }
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    if (parity_ == 1) tio.c_cflag |= PARENB | PARODD;
    if (parity_ == 2) tio.c_cflag |= PARENB;
    if (stopBits_ == 2) tio.c_cflag |= CSTOPB;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0 ||
        ::tcsetattr(fd, TCSANOW, &tio) != 0) {
        ::ioctl(fd, TIOCNXCL);
        ::close(fd);
        return 0;
    }
    ::tcflush(fd, TCIOFLUSH);
    fd_ = fd;
    lost_.store(false, std::memory_order_release);
    open_.store(true, std::memory_order_release);
    Wake();
    return 1;
}

void SerialPort::Close() {
    std::lock_guard lock(mutex_);
    CloseLocked();
}

void SerialPort::CloseLocked() {
    open_.store(false, std::memory_order_release);
    const int fd = fd_.exchange(-1);
    if (fd < 0) return;
    Wake();
    // A pseudo-terminal keeps the exclusive claim after close; release it so the line can
    // be opened again by a user who is not root.
    ::ioctl(fd, TIOCNXCL);
    ::close(fd);
}

void SerialPort::LoseLocked() {
    if (fd_.load() < 0) return;
    lost_.store(true, std::memory_order_release);
    CloseLocked();
}

std::size_t SerialPort::Read(std::uint8_t* buffer, std::size_t maximum) {
    std::lock_guard lock(mutex_);
    if (!open_.load(std::memory_order_relaxed) || fd_ < 0 || maximum == 0) return 0;
    const int fd = fd_.load();
    int waiting = 0;
    if (::ioctl(fd, FIONREAD, &waiting) != 0) {
        if (LineGone(errno)) LoseLocked();
        return 0;
    }
    if (waiting <= 0) return 0;
    const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(waiting), maximum);
    const ssize_t n = ::read(fd, buffer, count);
    if (n < 0 && LineGone(errno)) LoseLocked();
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

int SerialPort::Write(const std::uint8_t* bytes, std::size_t length) {
    // Under the lock, so that the reader cannot close the descriptor under a write.
    std::lock_guard lock(mutex_);
    const int fd = fd_.load();
    if (!open_.load(std::memory_order_acquire) || fd < 0) return 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::write(fd, bytes + done, length - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && LineGone(errno)) {
            LoseLocked();
            return 0;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return 0;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return 0;
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) > 0 &&
            (p.revents & (POLLHUP | POLLERR))) {
            LoseLocked();
            return 0;
        }
    }
    return 1;
}

}  // namespace transport
