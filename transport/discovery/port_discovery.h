#pragma once
// The serial ports a user can pick, with the adapter's description where the system knows
// it, and whether this user may open each one.
#include <string>
#include <vector>

namespace transport {

enum class PortAccess { Openable, PermissionDenied, Unavailable };

struct PortEntry {
    std::string path;         // "/dev/ttyUSB0"
    std::string description;  // "USB-Serial CH340", may be empty
    PortAccess access = PortAccess::Unavailable;

    // "/dev/ttyUSB0  (USB-Serial CH340)" or just the path.
    std::string Label() const;
};

// Tries to open the path for reading and writing and closes it at once.
PortAccess ProbePortAccess(const std::string& path);

// Every serial port the system lists, each probed.
std::vector<PortEntry> ListSerialPorts();

// The ports to offer: the openable system ports followed by the extra paths (given on the
// command line), without repeats. `deniedOut` receives the ports this user may not open.
std::vector<PortEntry> SelectablePorts(const std::vector<std::string>& extraPaths,
                                       std::vector<PortEntry>* deniedOut = nullptr);

// The hint shown when ports exist that the user may not open.
std::string PermissionHint(const std::vector<PortEntry>& denied);

}  // namespace transport
