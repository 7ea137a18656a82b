#include "local_line.h"
#include "port_backend.h"

namespace transport {

std::shared_ptr<PortBackend> MakeBackend(const std::string& name) {
    if (name.find("://") != std::string::npos) return nullptr;  // no network backend yet
    return MakeLocalLineBackend(name);
}

}  // namespace transport
