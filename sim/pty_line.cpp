#include "pty_line.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include "posix_baud.h"

namespace sim {

PtyLine::PtyLine() {
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) return;
    termios tio{};
    ::tcgetattr(slave, &tio);
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    ::tcsetattr(slave, TCSANOW, &tio);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    master_ = master;
    slave_ = slave;
    path_ = name;
}

PtyLine::~PtyLine() {
    Close();
}

void PtyLine::Close() {
    const int slave = slave_.exchange(-1);
    const int master = master_.exchange(-1);
    if (slave >= 0) ::close(slave);
    if (master >= 0) ::close(master);
}

std::uint32_t PtyLine::LineBaud() const {
    termios tio{};
    // Terminal settings asked of the master are those of the slave end.
    const int master = master_.load();
    if (master < 0 || ::tcgetattr(master, &tio) != 0) return 0;
    return transport::BaudOf(::cfgetospeed(&tio));
}

}  // namespace sim
