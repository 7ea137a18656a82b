#include <string_view>

#include "network_line.h"
#include "rfc2217_backend.h"
#include "tcp_backend.h"

namespace transport {

std::shared_ptr<PortBackend> MakeNetworkBackend(const std::string& name) {
    const std::string_view view(name);
    if (view.starts_with("rfc2217://")) return std::make_shared<Rfc2217Backend>();
    if (view.starts_with("tcp://")) return std::make_shared<TcpBackend>();
    return nullptr;
}

}  // namespace transport
