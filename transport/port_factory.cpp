#include <string_view>

#include "port_backend.h"
#include "posix_serial_backend.h"
#include "rfc2217_backend.h"
#include "tcp_backend.h"

namespace transport {

std::shared_ptr<PortBackend> MakeBackend(const std::string& name) {
    const std::string_view view(name);
    if (view.starts_with("rfc2217://")) return std::make_shared<Rfc2217Backend>();
    if (view.starts_with("tcp://")) return std::make_shared<TcpBackend>();
    if (view.find("://") != std::string_view::npos) return nullptr;  // a scheme we do not know
    return std::make_shared<PosixSerialBackend>();
}

}  // namespace transport
