#include "local_line.h"
#include "network_line.h"
#include "port_backend.h"

namespace transport {

std::shared_ptr<PortBackend> MakeBackend(const std::string& name) {
    if (name.find("://") != std::string::npos) return MakeNetworkBackend(name);
    return MakeLocalLineBackend(name);
}

}  // namespace transport
