#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "port_discovery.h"

namespace transport {

PortAccess ProbePortAccess(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return PortAccess::Openable;
    }
    return (errno == EACCES || errno == EPERM) ? PortAccess::PermissionDenied
                                               : PortAccess::Unavailable;
}

}  // namespace transport
