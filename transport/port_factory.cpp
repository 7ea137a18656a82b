#include "port_backend.h"
#include "posix_serial_backend.h"

namespace transport {

std::shared_ptr<PortBackend> MakeBackend(const std::string& name) {
    if (name.find("://") != std::string::npos) return nullptr;  // no network backend yet
    return std::make_shared<PosixSerialBackend>();
}

}  // namespace transport
