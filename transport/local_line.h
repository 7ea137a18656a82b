#pragma once
// The serial lines of the platform the program runs on: device paths on POSIX, COMn on
// Windows. Each platform's serial backend defines this.
#include <memory>
#include <string>

#include "port_backend.h"

namespace transport {

// The backend for `name` when it names a serial line of this platform; null otherwise.
std::shared_ptr<PortBackend> MakeLocalLineBackend(const std::string& name);

}  // namespace transport
