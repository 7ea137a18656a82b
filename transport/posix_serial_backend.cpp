#include "posix_serial_backend.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "local_line.h"
#include "posix_baud.h"
#include "serial_port.h"

namespace transport {
namespace {

// Errors that mean the line itself is gone (a USB adapter pulled, a pseudo-terminal whose
// other end closed), not that it is merely busy.
bool LineGone(int error) {
    return error == EIO || error == ENXIO || error == ENODEV || error == EPIPE;
}

std::string GroupName(gid_t gid) {
    std::vector<char> buffer(16384);
    group entry{};
    group* found = nullptr;
    if (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found) return {};
    return found->gr_name;
}

std::vector<std::string> UserGroups() {
    std::vector<gid_t> ids(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
    const int count = ::getgroups(static_cast<int>(ids.size()), ids.data());
    ids.resize(static_cast<std::size_t>(std::max(count, 0)));
    ids.push_back(::getegid());
    std::vector<std::string> names;
    for (gid_t id : ids) names.push_back(GroupName(id));
    return names;
}

// A failed open of `path` with `error`; a refusal looks up who owns the device and who we are.
OpenError FailedOpen(int error, const std::string& path) {
    struct stat info {};
    if ((error != EACCES && error != EPERM) || ::stat(path.c_str(), &info) != 0)
        return OpenErrorOf(error, {}, {});
    return OpenErrorOf(error, GroupName(info.st_gid), UserGroups());
}

}  // namespace

// Every name that is no network address is taken for a device path; a wrong one fails to open.
std::shared_ptr<PortBackend> MakeLocalLineBackend(const std::string&) {
    return std::make_shared<PosixSerialBackend>();
}

bool SerialPort::IsSupportedBaud(std::uint32_t baud) {
    speed_t s;
    return SpeedFor(baud, &s);
}

OpenError OpenErrorOf(int error, std::string_view deviceGroup,
                      const std::vector<std::string>& userGroups) {
    switch (error) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return OpenError::Missing;
        case EBUSY:
            return OpenError::Busy;
        case EACCES:
        case EPERM:
            // Serial lines belong to dialout (uucp on some systems), which a user joins to use
            // them; a device of any other group (a pseudo-terminal's tty) is not ours to join.
            if ((deviceGroup == "dialout" || deviceGroup == "uucp") &&
                std::find(userGroups.begin(), userGroups.end(), deviceGroup) == userGroups.end())
                return OpenError::NotInGroup;
            return OpenError::Denied;
        default:
            return OpenError::Other;
    }
}

PosixSerialBackend::~PosixSerialBackend() {
    Close();
}

OpenError PosixSerialBackend::Open(const std::string& path, const LineSettings& settings) {
    Close();
    speed_t speed;
    if (path.empty()) return OpenError::Missing;
    if (!SpeedFor(settings.baud, &speed)) return OpenError::BadSettings;
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return FailedOpen(errno, path);
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {  // not a terminal
        ::close(fd);
        return OpenError::NotSerial;
    }
    // Claim the line for this program alone; another program sharing it would steal replies.
    if (::ioctl(fd, TIOCEXCL) != 0) {
        const int error = errno;
        ::close(fd);
        return FailedOpen(error, path);
    }
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    if (settings.parity == 1) tio.c_cflag |= PARENB | PARODD;
    if (settings.parity == 2) tio.c_cflag |= PARENB;
    if (settings.stopBits == 2) tio.c_cflag |= CSTOPB;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0 ||
        ::tcsetattr(fd, TCSANOW, &tio) != 0) {
        ::ioctl(fd, TIOCNXCL);
        ::close(fd);
        return OpenError::BadSettings;
    }
    ::tcflush(fd, TCIOFLUSH);
    fd_ = fd;
    return OpenError::None;
}

void PosixSerialBackend::Close() {
    const int fd = fd_.exchange(-1);
    if (fd < 0) return;
    // A pseudo-terminal keeps the exclusive claim after close; release it so the line can
    // be opened again by a user who is not root.
    ::ioctl(fd, TIOCNXCL);
    ::close(fd);
}

std::size_t PosixSerialBackend::Read(std::uint8_t* buffer, std::size_t maximum, bool* gone) {
    const int fd = fd_.load();
    if (fd < 0) return 0;
    int waiting = 0;
    if (::ioctl(fd, FIONREAD, &waiting) != 0) {
        *gone = LineGone(errno);
        return 0;
    }
    if (waiting <= 0) return 0;
    const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(waiting), maximum);
    const ssize_t n = ::read(fd, buffer, count);
    if (n < 0) *gone = LineGone(errno);
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

bool PosixSerialBackend::Write(const std::uint8_t* bytes, std::size_t length, bool* gone) {
    const int fd = fd_.load();
    if (fd < 0) return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::write(fd, bytes + done, length - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && LineGone(errno)) {
            *gone = true;
            return false;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) > 0 &&
            (p.revents & (POLLHUP | POLLERR))) {
            *gone = true;
            return false;
        }
    }
    return true;
}

bool PosixSerialBackend::Wait(Waker& waker, int timeoutMs) {
    // The descriptor may be closed by the UI thread while we wait (it wakes us first); then
    // the poll reports it invalid, which is no hang-up.
    const int fd = fd_.load();
    pollfd p[2] = {{static_cast<int>(waker.Handle()), POLLIN, 0}, {fd, POLLIN, 0}};
    const nfds_t count = fd >= 0 ? 2 : 1;
    if (::poll(p, count, timeoutMs) <= 0) return true;
    if (p[0].revents & POLLIN) waker.Drain();
    return !(count == 2 && (p[1].revents & (POLLHUP | POLLERR)));
}

}  // namespace transport
