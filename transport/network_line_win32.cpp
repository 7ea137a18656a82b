#include "network_line.h"

namespace transport {

// The network ports run on POSIX sockets; a Windows build offers the COM ports only.
std::shared_ptr<PortBackend> MakeNetworkBackend(const std::string&) {
    return nullptr;
}

}  // namespace transport
