#include "tcp_backend.h"

#include <chrono>

namespace transport {

bool NetworkAddressOf(const std::string& name, std::string_view scheme, HostPort* out) {
    return std::string_view(name).starts_with(scheme) &&
           ParseHostPort(std::string_view(name).substr(scheme.size()), out);
}

OpenError TcpBackend::Open(const std::string& name, const LineSettings&) {
    // The settings are the server's: whatever rate was asked for, the line keeps its own.
    HostPort address;
    if (!NetworkAddressOf(name, "tcp://", &address)) return OpenError::Missing;
    return socket_.Connect(address);
}

std::size_t TcpBackend::Read(std::uint8_t* buffer, std::size_t maximum, bool* gone) {
    return socket_.Receive(buffer, maximum, gone);
}

bool TcpBackend::Write(const std::uint8_t* bytes, std::size_t length, bool* gone) {
    return socket_.SendAll(bytes, length,
                           std::chrono::steady_clock::now() + std::chrono::seconds(1), gone);
}

}  // namespace transport
