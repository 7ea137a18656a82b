#pragma once
// The ports behind a serial device server on the network: "rfc2217://HOST:PORT" and
// "tcp://HOST:PORT". Each platform's network code defines this.
#include <memory>
#include <string>

#include "port_backend.h"

namespace transport {

// The backend for a network port name; null for a scheme this platform does not know.
std::shared_ptr<PortBackend> MakeNetworkBackend(const std::string& name);

}  // namespace transport
