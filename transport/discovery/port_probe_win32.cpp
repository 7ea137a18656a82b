#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "port_discovery.h"
#include "win32_serial_backend.h"

namespace transport {

// Windows keeps no per-user rights on COM ports: a port that refuses to open is in use by
// another program or gone, and the user can do nothing about it here.
PortAccess ProbePortAccess(const std::string& path) {
    const std::string device = ComDevicePath(path);
    if (device.empty()) return PortAccess::Unavailable;
    const HANDLE port = ::CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) return PortAccess::Unavailable;
    ::CloseHandle(port);
    return PortAccess::Openable;
}

}  // namespace transport
